#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace velmaro::bench {

// The preview box of the design window (Image1: 8805 x 6915 twips at 15 twips per pixel), in pixels.
inline constexpr QSize kPreviewBoxPixels{587, 461};

struct MapPicture {
  QImage full;     // the picture at its stored size, as the loader's LoadFull gives it
  QImage preview;  // `full` reduced by block means to the size the loader's LoadPreview gives for the box
};

// An alternative to the window's order (preview decode, then full decode): one full decode, the preview reduced
// from its pixels. Measured beside the window's order to show what a second entropy decode costs. nullopt when
// the loader refuses the picture.
std::optional<MapPicture> LoadMapPicture(const QString& path, QSize box);

}  // namespace velmaro::bench
