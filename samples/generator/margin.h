#pragma once
// The UTM grid over the map body, the neatline, the label band with the grid values, the outer border,
// and the margin: title, legend, scale bar and the sheet's notes.

#include <QImage>

namespace sample_sheet {

// Grid lines every kilometre, laid pixel by pixel so that each falls exactly on its column or row: the
// line's own pixels take most of the ink and their two neighbours a little, so the darkest pixel across
// every line is the one whose position gives the round value. The outermost lines are the neatline.
void PaintGrid(QImage& image);

void PaintMargin(QImage& image);

}  // namespace sample_sheet
