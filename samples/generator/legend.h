#pragma once
// The margin below the border: the legend of the symbols, the scale bar and the sheet's notes.

#include <QPainter>

namespace sample_sheet {

void PaintLegend(QPainter& painter);

}  // namespace sample_sheet
