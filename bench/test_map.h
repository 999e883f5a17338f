#pragma once

#include <QSize>
#include <QString>

#include <optional>

namespace velmaro::bench {

// The pixel size used for a map of about `megapixels` million pixels: 4:3, sides multiples of 200 (72 gives
// 9800 x 7350, 300 gives 20000 x 15000); 1000 gives the gigapixel sheet, 40000 x 25000.
QSize MapSizeForMegapixels(int megapixels);

// The path of a deterministic test map of `size` encoded as JPEG (quality 90, 4:2:0 chroma, as scanners write),
// made on first use and kept in the temporary folder for later runs. The texture looks like a printed map:
// smooth terrain colours, contour lines, grid lines, roads, dots and scanner grain, so the decoder works as
// hard as on a real scan (flat colour decodes unrealistically fast). nullopt when the map cannot be written.
std::optional<QString> CachedTestMap(QSize size);

// The same map with a restart marker after every MCU row, as cameras and `cjpeg -restart 1` write them: made
// from `plainMap` by libjpeg-turbo's jpegtran -restart 1 (the same coefficients, so the same pixels) and kept
// beside it as map-WxH-v1-rst1.jpg. nullopt when jpegtran fails.
std::optional<QString> CachedRestartMap(const QString& plainMap);

}  // namespace velmaro::bench
