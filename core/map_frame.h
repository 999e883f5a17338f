#pragma once
// The map frame: four edge values as typed, two axis captions, and the pixel-to-map transform.
// Positions and sizes are twips measured from the canvas's top-left corner, y growing downward.

#include <optional>
#include <string>
#include <string_view>

#include "core/coordinate_type.h"

namespace velmaro {

inline constexpr std::string_view kXEast = "X Coord. EAST";
inline constexpr std::string_view kXWest = "X Coord. WEST";
inline constexpr std::string_view kYNorth = "Y Coord. NORTH";
inline constexpr std::string_view kYSouth = "Y Coord. SOUTH";
// Design captions of the window: neither of the recomputed forms, so they give "W" and "S".
inline constexpr std::string_view kXDesignCaption = "X Coord. NORTH";
inline constexpr std::string_view kYDesignCaption = "Y Coord. EAST";

struct MapFrame {
  std::string left = "10000";    // Text2: X at the left edge (x = 0)
  std::string right = "15000";   // Text3: X at the right edge (x = canvas width)
  std::string top = "30000";     // Text4: Y at the top edge (y = 0)
  std::string bottom = "25000";  // Text5: Y at the bottom edge (y = canvas height)
  std::string xCaption = std::string(kXDesignCaption);  // Label1
  std::string yCaption = std::string(kYDesignCaption);  // Label2
};

struct CanvasSize {
  double width = 0;   // twips
  double height = 0;  // twips
};

// CursorX, CursorY, CursorXDms, CursorYDms: the coordinates of the last capture (or what the removal
// search left in them). They live for the whole run and are 0 / empty until first computed.
struct Cursor {
  double x = 0;
  double y = 0;
  std::string xDms;
  std::string yDms;
  bool computed = false;  // set once Pixel2Map or the removal search has written x or y
};

// An edge value as a number: DegMinSec through Degre2Decimal (never fails), any other notation (or
// none) as the WholeTextNumber of the text (an empty or non-numeric text has no value).
std::optional<double> ReadEdgeValue(std::string_view text, NotationChoice notation);

// CursorX = L + x * ((R - L) / W), CursorY = T + y * ((B - T) / H), evaluated in exactly that order:
// the edges model of core/map_transform (EdgeValue). An unreadable edge value, a zero canvas side or a
// result beyond the range of a double leaves that coordinate as it was; computed becomes true when
// either coordinate was written.
void Pixel2Map(double x, double y, CanvasSize canvas, const MapFrame& frame, NotationChoice notation,
               Cursor& cursor);

// Rounds the cursor in place by notation and returns the two cell texts:
// Meters floors to whole numbers, DecimalDegrees floors to five decimals on the double product,
// DegMinSec keeps the values and fills xDms / yDms. With no notation the values stay unrounded.
struct CellTexts {
  std::string x;
  std::string y;
};
CellTexts RoundForCapture(Cursor& cursor, NotationChoice notation);

// "E" only for the exact caption "X Coord. EAST", else "W"; "N" only for "Y Coord. NORTH", else "S".
std::string XLetter(std::string_view xCaption);
std::string YLetter(std::string_view yCaption);

// Recomputes both captions from the edge values (pointer over the preview). An axis whose edge values
// cannot both be read keeps its caption as it was.
void RecomputeAxisCaptions(MapFrame& frame, NotationChoice notation);

// Tool tip of the canvas: "8:30:00  46:30:00" in DegMinSec, else "X= 12500  Y= 27500".
// Empty before anything was computed, so the tip never shows coordinates nobody captured.
std::string ReadoutText(const Cursor& cursor, NotationChoice notation);

}  // namespace velmaro
