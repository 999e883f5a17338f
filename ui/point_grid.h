#pragma once
// XY_Grid: the point table as the user sees it. Five columns; row 0 and column 0 are fixed (header
// look, not selectable as data); rows 1..250 hold the points, the rows below the last point are empty.
// The grid only shows the table: the window rewrites the rows a change touched.

#include <QTableWidget>

#include "core/point_table.h"

namespace velmaro::ui {

class PointGrid : public QTableWidget {
  Q_OBJECT
 public:
  explicit PointGrid(QWidget* parent = nullptr);

  QString cellText(int row, int column) const;
  void setCellText(int row, int column, const QString& text);

  // Rows first..last (inclusive) rewritten from the table; rows past its last point emptied.
  void showRows(const PointTable& table, int first, int last);

  void setColumnWidthTwips(int column, double twips);

  // Makes (row, column) the current cell without selecting it, as the program's own writes do.
  void makeCurrent(int row, int column);

 signals:
  void mouseDown(int button, int shift, double xTwips, double yTwips);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace velmaro::ui
