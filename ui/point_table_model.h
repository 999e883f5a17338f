#pragma once
// The point table as an item model for XY_Grid. The model keeps no copy of a point: every cell and every
// row name is read from the PointTable when a view asks for it, so the table stays the one owner.
// Rows: model row i shows point i + 1 (grid row i + 1); there are always kMaxPoints rows, those past the
// last point empty. Columns as in the grid: 0 name, 1 E/W letter, 2 X text, 3 N/S letter, 4 Y text.
// Header data: the vertical header names the rows ("Pt 1", empty past the last point); the horizontal
// header is the grid's header row, whose texts (" X coord", " Y coord") are the only texts kept here.
// Whoever changes the table calls pointRowsChanged so that the views repaint those rows.

#include <QAbstractTableModel>
#include <QString>
#include <array>

#include "core/point_table.h"

namespace velmaro::ui {

inline constexpr int kGridColumns = 5;

class PointTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  PointTableModel(const PointTable& table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // Only the horizontal header's display text can be set; anything else is refused.
  bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                     int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Point rows first..last (grid numbering, 1-based, clipped to 1..kMaxPoints) may read otherwise now.
  void pointRowsChanged(int first, int last);

  // The text of point row r (1-based), column 0..4; empty past the last point.
  QString pointCell(int row, int column) const;

 private:
  const PointTable& table_;
  std::array<QString, kGridColumns> headerRow_;
};

}  // namespace velmaro::ui
