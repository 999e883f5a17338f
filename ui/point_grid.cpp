#include "ui/point_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

#include "ui/map_canvas.h"
#include "ui/twips.h"

namespace velmaro::ui {

namespace {
constexpr int kColumns = 5;
const QColor kFixedBackground(212, 208, 200);

QString ColumnText(const PointRow& row, int column) {
  switch (column) {
    case 0: return QString::fromStdString(row.name);
    case 1: return QString::fromStdString(row.xLetter);
    case 2: return QString::fromStdString(row.xText);
    case 3: return QString::fromStdString(row.yLetter);
    default: return QString::fromStdString(row.yText);
  }
}
}  // namespace

PointGrid::PointGrid(QWidget* parent) : QTableWidget(kMaxPoints + 1, kColumns, parent) {
  setObjectName("XY_Grid");
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  // Until the first capture sets them, the columns already have the widths a capture gives, so the
  // five columns fit the grid without scrolling sideways.
  const double startWidths[kColumns] = {900, 500, 1200, 500, 1200};
  for (int column = 0; column < kColumns; ++column) setColumnWidthTwips(column, startWidths[column]);
  for (int row = 0; row <= kMaxPoints; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      auto* item = new QTableWidgetItem();
      if (row == 0 || column == 0) item->setBackground(kFixedBackground);
      setItem(row, column, item);
    }
  }
}

QString PointGrid::cellText(int row, int column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void PointGrid::setCellText(int row, int column, const QString& text) {
  if (QTableWidgetItem* cell = item(row, column)) cell->setText(text);
}

void PointGrid::showRows(const PointTable& table, int first, int last) {
  for (int row = std::max(first, 1); row <= std::min(last, kMaxPoints); ++row) {
    for (int column = 0; column < kColumns; ++column)
      setCellText(row, column, row <= table.size() ? ColumnText(table.row(row), column) : QString());
  }
}

void PointGrid::setColumnWidthTwips(int column, double twips) {
  setColumnWidth(column, ToPixels(twips, TwipsPerPixel(this)));
}

void PointGrid::makeCurrent(int row, int column) {
  selectionModel()->setCurrentIndex(model()->index(row, column), QItemSelectionModel::NoUpdate);
}

void PointGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // The right button makes the row under the pointer current, so the row removed is the one pressed.
    const int row = rowAt(event->position().toPoint().y());
    if (row >= 0) makeCurrent(row, std::max(currentColumn(), 0));
  } else {
    QTableWidget::mousePressEvent(event);
  }
  const double tpp = TwipsPerPixel(this);
  emit mouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), ToTwips(event->position().x(), tpp),
                 ToTwips(event->position().y(), tpp));
}

}  // namespace velmaro::ui
