#pragma once
// Zoom of the map canvas: the factor between picture pixels and screen pixels. Factors are powers of
// sqrt(2) from 1:1, bounded below by the factor that shows the whole sheet (never above 1:1) and above
// by 16. Picture space is the picture at 1:1 in twips, the space of presses, discs and the transform.

namespace velmaro {

inline constexpr double kMaxZoom = 16.0;

// The factor at which a picture of the given pixel size fits the viewport whole, at most 1.
// An empty picture or viewport fits at 1.
double FitZoom(double pictureWidth, double pictureHeight, double viewportWidth, double viewportHeight);

// The next step of sqrt(2) above (steps > 0) or below (steps < 0) the zoom, `steps` times, clamped to
// fit..16 (fit itself when the sheet fits only between two steps). Steps 0 clamps only.
double StepZoom(double zoom, int steps, double fit);

// A screen pixel position on the canvas in picture twips: pixel / zoom * twips per pixel, in that
// order, so at 1:1 it is exactly pixel * twips per pixel.
double PixelToPicture(double pixel, double zoom, double twipsPerPixel);

// The canvas offset (screen pixels) that keeps the picture spot under `anchor` (viewport pixels) in
// place when the zoom changes, rounded to a whole pixel and kept within the canvas's travel.
int ZoomedOffset(int offset, int anchor, double oldZoom, double newZoom, int shownCanvas, int viewport);

// The canvas's travel inside the viewport: between 0 and viewport - canvas, whichever way round.
int ClampOffset(int offset, int shownCanvas, int viewport);

// The scroll bar value (0..100) whose ScrollOffset lies nearest to the offset; 0 without overflow.
int ScrollValueForOffset(double offset, double shownCanvas, double viewport);

}  // namespace velmaro
