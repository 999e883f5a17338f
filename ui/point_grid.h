#pragma once
// XY_Grid: the view of the point table. The grid as designed has five columns (0 name, 1 E/W, 2 X text,
// 3 N/S, 4 Y text) below a fixed header row 0 (" X coord" over column 2, " Y coord" over column 4) and
// room for 250 point rows, the rows below the last point empty. Here the header row is the view's
// horizontal header and the name column its vertical header, so both stay in view while the point rows
// scroll; model row i is grid row i + 1. Every row and column number below is in the grid's numbering
// (row 0 the header row, column 0 the names). The grid keeps nothing of a point: it shows the
// PointTable it was given, and whoever changes that table tells the grid which rows to show anew.

#include <QTableView>

#include "core/point_table.h"

namespace velmaro::ui {

class PointTableModel;

class PointGrid : public QTableView {
  Q_OBJECT
 public:
  explicit PointGrid(const PointTable& table, QWidget* parent = nullptr);

  // The text the grid shows at (row, column); empty outside the grid.
  QString cellText(int row, int column) const;
  // Writes a header-row cell (row 0). Point rows always show the table: a write to them is ignored.
  void setCellText(int row, int column, const QString& text);
  // The grid's rows as designed: the header row and the 250 point rows.
  int rowCount() const;

  // Rows first..last of the table changed (a capture, a removal): the grid shows them anew.
  void showRows(int first, int last);

  void setColumnWidthTwips(int column, double twips);
  // Columns 1 to 4 at their design widths, which the grid starts with and every capture sets again.
  void setDesignColumnWidths();

  // Makes (row, column) the current cell without selecting it, as the program's own writes do. Column 0
  // is the name column: the cell is current though the names are shown by the header. Row 0 (the
  // header row) or a row outside the grid leaves no point row current.
  void makeCurrent(int row, int column);
  // The current cell; row 0 when no point row is current (the header row, as after start-up).
  int currentRow() const;
  int currentColumn() const;

  // Scrolls the point rows, never the headers, so that grid row `row` is in view.
  void scrollToRow(int row);

 signals:
  // Any button pressed over the grid, its headers included; position in twips from the grid's corner.
  void mouseDown(int button, int shift, double xTwips, double yTwips);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void fitRowsToFont();
  void reportPress(const QMouseEvent& event, const QWidget& pressed);

  PointTableModel* model_ = nullptr;
};

}  // namespace velmaro::ui
