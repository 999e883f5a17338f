#include "core/point_history.h"

namespace velmaro {

bool ApplyPointChange(const PointChange& change, bool forward, PointTable& table) {
  const bool adds = (change.kind == PointChange::Kind::Added) == forward;
  return adds ? table.insertRow(change.row, change.point) : table.removeRow(change.row);
}

}  // namespace velmaro
