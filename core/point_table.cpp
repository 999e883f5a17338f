#include "core/point_table.h"

#include <utility>

#include "core/number_text.h"

namespace velmaro {

std::string PointName(int row) { return "Pt" + SignedNumberText(row); }

int PointTable::append(std::string xLetter, std::string xText, std::string yLetter, std::string yText, double pictureX,
                       double pictureY) {
  if (full()) return 0;
  const int row = size() + 1;
  rows_.push_back(PointRow{PointName(row), std::move(xLetter), std::move(xText), std::move(yLetter), std::move(yText),
                           pictureX, pictureY});
  return row;
}

bool PointTable::removeRow(int r) {
  if (r < 1 || r > size()) return false;
  rows_.erase(rows_.begin() + (r - 1));
  renumber();
  return true;
}

bool PointTable::insertRow(int r, PointRow point) {
  if (r < 1 || r > size() + 1 || full()) return false;
  rows_.insert(rows_.begin() + (r - 1), std::move(point));
  renumber();
  return true;
}

void PointTable::renumber() {
  // Names follow the row numbers so that they run from "Pt 1" without gaps after every change.
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].name = PointName(static_cast<int>(i) + 1);
}

}  // namespace velmaro
