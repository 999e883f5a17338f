#include "core/point_history.h"

#include <utility>

namespace velmaro {

namespace {

// Adds or takes away the change's point; `forward` does the change, otherwise it is taken back.
bool ApplyToTable(const PointChange& change, bool forward, PointTable& table) {
  const bool adds = (change.kind == PointChange::Kind::Added) == forward;
  return adds ? table.insertRow(change.row, change.point) : table.removeRow(change.row);
}

}  // namespace

std::size_t PointHistory::record(PointChange change) {
  steps_.resize(done_);
  steps_.push_back(std::move(change));
  done_ = steps_.size();
  return done_ - 1;
}

std::optional<std::size_t> PointHistory::undo(PointTable& table, PointState& state) {
  if (!canUndo() || !ApplyToTable(steps_[done_ - 1], false, table)) return std::nullopt;
  --done_;
  state = steps_[done_].before;
  return done_;
}

std::optional<std::size_t> PointHistory::redo(PointTable& table, PointState& state) {
  if (!canRedo() || !ApplyToTable(steps_[done_], true, table)) return std::nullopt;
  state = steps_[done_].after;
  return done_++;
}

}  // namespace velmaro
