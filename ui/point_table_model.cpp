#include "ui/point_table_model.h"

#include <algorithm>

#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {
// Fixed cells read as the left-aligned texts they are (" X coord" keeps its leading blank visible).
constexpr Qt::Alignment kTextAlignment = Qt::AlignLeft | Qt::AlignVCenter;

const std::string& ColumnText(const PointRow& row, int column) {
  switch (column) {
    case 0: return row.name;
    case 1: return row.xLetter;
    case 2: return row.xText;
    case 3: return row.yLetter;
    default: return row.yText;
  }
}
}  // namespace

PointTableModel::PointTableModel(const PointTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

int PointTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kMaxPoints; }

int PointTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kGridColumns; }

QString PointTableModel::pointCell(int row, int column) const {
  if (row < 1 || row > table_.size() || column < 0 || column >= kGridColumns) return {};
  return Utf8(ColumnText(table_.row(row), column));
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(kTextAlignment);
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return pointCell(index.row() + 1, index.column());
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(kTextAlignment);
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return pointCell(section + 1, 0);
  return section >= 0 && section < kGridColumns ? headerRow_[static_cast<std::size_t>(section)] : QString();
}

bool PointTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
  if (orientation != Qt::Horizontal || section < 0 || section >= kGridColumns) return false;
  if (role != Qt::DisplayRole && role != Qt::EditRole) return false;
  headerRow_[static_cast<std::size_t>(section)] = value.toString();
  emit headerDataChanged(orientation, section, section);
  return true;
}

Qt::ItemFlags PointTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void PointTableModel::pointRowsChanged(int first, int last) {
  const int top = std::max(first, 1) - 1;
  const int bottom = std::min(last, kMaxPoints) - 1;
  if (top > bottom) return;
  emit dataChanged(index(top, 0), index(bottom, kGridColumns - 1), {Qt::DisplayRole});
  emit headerDataChanged(Qt::Vertical, top, bottom);
}

}  // namespace velmaro::ui
