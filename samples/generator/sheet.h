#pragma once
// The sample sheet's frame: a 4000 x 3000 pixel "scan" of a 1:25 000 UTM sheet at 2.5 m a pixel
// (254 dpi). Pixel (0, 0) is the picture's top-left corner; a position x on the canvas reads
// E = kLeftEasting + x * 2.5 and N = kTopNorthing - y * 2.5, so the grid line of every whole
// kilometre falls on a whole pixel, every 400th one.
//
// The map body (inside the neatline) spans 436 000 .. 445 000 mE and 5 256 000 .. 5 262 000 mN; the
// neatline is the outermost grid line on each side. Around it lie the label band and the outer border,
// and beyond those the margin with the title and the legend.

#include <QPointF>
#include <QRectF>
#include <vector>

namespace sample_sheet {

inline constexpr int kWidth = 4000;   // pixels
inline constexpr int kHeight = 3000;  // pixels
inline constexpr double kMetresPerPixel = 2.5;

// The picture's edge values: what the info file holds and the calibration fields receive.
inline constexpr int kLeftEasting = 435500;
inline constexpr int kRightEasting = kLeftEasting + 10000;  // 4000 px * 2.5 m
inline constexpr int kTopNorthing = 5262600;
inline constexpr int kBottomNorthing = kTopNorthing - 7500;  // 3000 px * 2.5 m

inline constexpr int kGridMetres = 1000;
inline constexpr int kFirstEasting = 436000;
inline constexpr int kLastEasting = 445000;
inline constexpr int kFirstNorthing = 5256000;
inline constexpr int kLastNorthing = 5262000;

// Pixel column of a grid easting and pixel row of a grid northing; exact for whole kilometres.
constexpr int ColumnOf(int easting) { return (easting - kLeftEasting) * 2 / 5; }
constexpr int RowOf(int northing) { return (kTopNorthing - northing) * 2 / 5; }

static_assert(ColumnOf(kFirstEasting) == 200 && ColumnOf(kLastEasting) == 3800);
static_assert(RowOf(kLastNorthing) == 240 && RowOf(kFirstNorthing) == 2640);

// The neatline (map body) and the outer border, in pixels; the label band lies between them.
inline const QRectF kBody(ColumnOf(kFirstEasting), RowOf(kLastNorthing), 3600, 2400);
inline constexpr int kBandWidth = 110;  // left and right label bands
inline constexpr int kBandHeight = 70;  // top and bottom label bands
inline const QRectF kBorder = kBody.adjusted(-kBandWidth, -kBandHeight, kBandWidth, kBandHeight);

using Polyline = std::vector<QPointF>;

}  // namespace sample_sheet
