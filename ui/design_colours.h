#pragma once
// The colours of the window's design, each named once: the controls take them from the design table, and
// what paints in their place (the canvas without a map, the loupe beyond the map's edge) uses the same.

#include <QColor>

namespace velmaro::ui {

inline const QColor kLightGrey(224, 224, 224);  // the map's viewport and canvas
inline const QColor kSilver(192, 192, 192);     // the arrow pictures
inline const QColor kDesignRed(255, 0, 0);      // "Save XY File"

}  // namespace velmaro::ui
