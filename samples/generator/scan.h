#pragma once
// The paper and the scanner: the sheet's tone before anything is printed on it, and what scanning
// does to the printed sheet afterwards (a little softness, uneven light, the folds, grain).

#include <QImage>

namespace sample_sheet {

// Fills the picture with the paper's tone, gently mottled.
void PaintPaper(QImage& image);

// Softens, lights unevenly, marks the two folds and adds grain. Symmetric softening only, so a one-pixel
// line keeps its darkest pixel where it was drawn.
void ApplyScan(QImage& image);

}  // namespace sample_sheet
