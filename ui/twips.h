#pragma once
// The window's unit is the twip (1/1440 inch): 15 twips per pixel at 96 pixels per inch, scaled by the
// screen's logical dpi elsewhere. Every place, size and pointer position the window logic sees is in
// twips; only this file knows about pixels.

#include <QRect>
#include <QWidget>
#include <cmath>

namespace velmaro::ui {

inline constexpr double kTwipsPerInch = 1440.0;

inline double TwipsPerPixel(const QWidget* widget) {
  const int dpi = widget ? widget->logicalDpiX() : 96;
  return kTwipsPerInch / (dpi > 0 ? dpi : 96);
}

inline int ToPixels(double twips, double twipsPerPixel) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

inline double ToTwips(double pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

// A design rectangle given as left, top, width, height in twips.
struct TwipRect {
  double left, top, width, height;
};

inline QRect ToPixelRect(const TwipRect& r, double twipsPerPixel) {
  return QRect(ToPixels(r.left, twipsPerPixel), ToPixels(r.top, twipsPerPixel), ToPixels(r.width, twipsPerPixel),
               ToPixels(r.height, twipsPerPixel));
}

}  // namespace velmaro::ui
