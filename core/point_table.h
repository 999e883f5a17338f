#pragma once
// The point table: the captured points in capture order, as the grid shows them.
// Row numbers are 1-based as in the grid (row 0 is the header); PointCount is the row the next point
// fills, so the table holds PointCount - 1 points.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

inline constexpr int kMaxPoints = 250;
inline constexpr std::string_view kXHeader = " X coord";  // header row, column 2
inline constexpr std::string_view kYHeader = " Y coord";  // header row, column 4

struct PointRow {
  std::string name;     // column 0: "Pt 1"
  std::string xLetter;  // column 1: "E" or "W"
  std::string xText;    // column 2
  std::string yLetter;  // column 3: "N" or "S"
  std::string yText;    // column 4
  // Where the press was, twips from the canvas's top-left corner at 1:1; not shown, not saved in the XY file.
  double pictureX = 0;
  double pictureY = 0;
  bool operator==(const PointRow&) const = default;
};

// "Pt" followed by the SignedNumberText of the row: "Pt 1", "Pt 17".
std::string PointName(int row);

class PointTable {
 public:
  std::int16_t PointCount() const { return static_cast<std::int16_t>(rows_.size() + 1); }
  int size() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  bool full() const { return size() >= kMaxPoints; }

  // Point row r (1..size()).
  const PointRow& row(int r) const { return rows_.at(static_cast<std::size_t>(r - 1)); }
  const std::vector<PointRow>& rows() const { return rows_; }

  // Appends a point at row PointCount, named after that row. Returns the row, or 0 when full.
  int append(std::string xLetter, std::string xText, std::string yLetter, std::string yText, double pictureX = 0,
             double pictureY = 0);

  // Deletes point row r (rows below move up) and renames every row "Pt 1".."Pt n" again.
  // Returns false, changing nothing, when r is not a point row (header, empty row, out of range).
  bool removeRow(int r);
  // Puts a point back at row r (1..size()+1; the rows from r on move down) and renames every row again,
  // as taking back a removal needs. Returns false, changing nothing, when r is out of range or the table
  // is full.
  bool insertRow(int r, PointRow point);

 private:
  void renumber();

  std::vector<PointRow> rows_;
};

}  // namespace velmaro
