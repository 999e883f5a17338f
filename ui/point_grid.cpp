#include "ui/point_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

#include "ui/mouse_codes.h"
#include "ui/point_table_model.h"
#include "ui/twips.h"

namespace velmaro::ui {

namespace {
constexpr int kNameColumn = 0;
// The name column's width before any capture; the captures set only columns 1 to 4.
constexpr double kNameColumnTwips = 900;
constexpr double kDesignWidths[kGridColumns] = {0, 500, 1200, 500, 1200};

// The names all fit the name column's fixed width, so the header's size never depends on them. A plain
// header measures 200 of its sections again whenever a name changes, which made every capture cost half a
// millisecond.
class NameHeader : public QHeaderView {
 public:
  explicit NameHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) { setSectionsClickable(true); }
  QSize sizeHint() const override { return {minimumWidth(), defaultSectionSize()}; }
};
}  // namespace

PointGrid::PointGrid(const PointTable& table, QWidget* parent)
    : QTableView(parent), model_(new PointTableModel(table, this)) {
  setObjectName("XY_Grid");
  setVerticalHeader(new NameHeader(this));
  setModel(model_);
  // The names are shown by the vertical header; the model's name column only carries the current cell
  // that a capture leaves on column 0.
  setColumnHidden(kNameColumn, true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  // The header row is fixed text: a click on it selects nothing and does not scroll the points away.
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
  // Until the first capture sets them, the columns already have the widths a capture gives, so the
  // grid fits its box without scrolling sideways.
  setDesignColumnWidths();
  fitRowsToFont();
}

QString PointGrid::cellText(int row, int column) const {
  if (row == 0) return model_->headerData(column, Qt::Horizontal).toString();
  return model_->pointCell(row, column);
}

void PointGrid::setCellText(int row, int column, const QString& text) {
  if (row == 0) model_->setHeaderData(column, Qt::Horizontal, text);
}

int PointGrid::rowCount() const { return model_->rowCount() + 1; }

void PointGrid::showRows(int first, int last) { model_->pointRowsChanged(first, last); }

void PointGrid::setColumnWidthTwips(int column, double twips) {
  setColumnWidth(column, ToPixels(twips, TwipsPerPixel(this)));
}

void PointGrid::setDesignColumnWidths() {
  for (int column = 1; column < kGridColumns; ++column) setColumnWidthTwips(column, kDesignWidths[column]);
}

void PointGrid::makeCurrent(int row, int column) {
  selectionModel()->setCurrentIndex(model_->index(row - 1, column), QItemSelectionModel::NoUpdate);
}

int PointGrid::currentRow() const { return currentIndex().isValid() ? currentIndex().row() + 1 : 0; }

int PointGrid::currentColumn() const { return currentIndex().isValid() ? currentIndex().column() : 0; }

void PointGrid::scrollToRow(int row) {
  // The name column is hidden and a hidden cell is never scrolled to, so the row's first shown cell is.
  scrollTo(model_->index(row - 1, kNameColumn + 1));
}

void PointGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // The right button makes the row under the pointer current, so the row removed is the one pressed.
    const int row = rowAt(event->position().toPoint().y());
    if (row >= 0) makeCurrent(row + 1, currentColumn());
  } else {
    QTableView::mousePressEvent(event);
  }
  reportPress(*event, *viewport());
}

bool PointGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress) return QTableView::eventFilter(watched, event);
  const auto& press = static_cast<const QMouseEvent&>(*event);
  const bool onNames = watched == verticalHeader()->viewport();
  if (press.button() == Qt::RightButton) {
    // A right press on a name makes that point row current; one on the header row makes no row current,
    // so the header row is never what a removal takes away.
    const int section = onNames ? verticalHeader()->logicalIndexAt(press.position().toPoint().y()) : -1;
    if (section >= 0 || !onNames) makeCurrent(section + 1, kNameColumn);
  }
  reportPress(press, *static_cast<QWidget*>(watched));
  return QTableView::eventFilter(watched, event);
}

void PointGrid::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) fitRowsToFont();
}

void PointGrid::fitRowsToFont() {
  // The header row and the names are cells of the grid as designed: they take the grid's font, which a
  // header would not always inherit from the view.
  horizontalHeader()->setFont(font());
  verticalHeader()->setFont(font());
  const int rowHeight = fontMetrics().height() + 6;
  verticalHeader()->setDefaultSectionSize(rowHeight);
  horizontalHeader()->setFixedHeight(rowHeight);
  verticalHeader()->setFixedWidth(ToPixels(kNameColumnTwips, TwipsPerPixel(this)));
}

void PointGrid::reportPress(const QMouseEvent& event, const QWidget& pressed) {
  const QPointF inGrid = pressed.mapTo(this, event.position());
  const double tpp = TwipsPerPixel(this);
  emit mouseDown(ButtonCode(event.button()), ShiftCode(event.modifiers()), ToTwips(inGrid.x(), tpp),
                 ToTwips(inGrid.y(), tpp));
}

}  // namespace velmaro::ui
