#include "core/point_table.h"

#include <utility>

#include "core/number_text.h"

namespace velmaro {

std::string PointName(int row) { return "Pt" + SignedNumberText(row); }

int PointTable::append(std::string xLetter, std::string xText, std::string yLetter, std::string yText) {
  if (full()) return 0;
  const int row = size() + 1;
  rows_.push_back(PointRow{PointName(row), std::move(xLetter), std::move(xText), std::move(yLetter), std::move(yText)});
  return row;
}

bool PointTable::removeRow(int r) {
  if (r < 1 || r > size()) return false;
  rows_.erase(rows_.begin() + (r - 1));
  // Names follow the row numbers so that they run from "Pt 1" without gaps after every removal.
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].name = PointName(static_cast<int>(i) + 1);
  return true;
}

}  // namespace velmaro
