// One runner for every table in cases/. A row is `name | operation | inputs... | outputs...`: the
// operation's outputs must equal the row's last fields exactly. Doubles are written in their shortest
// round-trip form (to_chars), so equal texts are equal doubles. "\xHH" in a text stands for that byte
// (testing::Unescape); in blank-separated lists "_" stands for an empty text.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "core/capture.h"
#include "core/converter.h"
#include "core/dms.h"
#include "core/geo_transform.h"
#include "core/key_filter.h"
#include "core/model_fit.h"
#include "core/number_text.h"
#include "core/removal.h"
#include "core/scroll.h"
#include "core/zoom.h"
#include "tests/common/case_table.h"

namespace velmaro {
namespace {

using testing::Case;
using testing::Unescape;
using Out = std::vector<std::string>;

std::vector<std::string> Words(const std::string& list, char separator = ' ') {
  std::vector<std::string> words;
  std::istringstream in(list);
  for (std::string word; std::getline(in >> std::ws, word, separator);) words.push_back(word == "_" ? "" : word);
  return words;
}

double Real(const std::string& t) { double v = 0; std::from_chars(t.data(), t.data() + t.size(), v); return v; }
template <class Number>
std::string Text(Number v) { char b[64]; return std::string(b, std::to_chars(b, b + sizeof b, v).ptr); }

NotationChoice Notation(const std::string& word) {
  return std::map<std::string, NotationChoice>{{"m", CoordinateType::Meters}, {"dms", CoordinateType::DegMinSec},
                                               {"dd", CoordinateType::DecimalDegrees}, {"none", std::nullopt}}.at(word);
}

MapFrame Edges(const std::string& list) { const auto e = Words(list); return {e.at(0), e.at(1), e.at(2), e.at(3)}; }

std::string Whole(const std::string& t) { const auto value = WholeTextNumber(t); return value ? Text(*value) : "none"; }
std::string Captured(const CaptureResult& r) { return r.outcome == CaptureOutcome::Captured ? Text(r.row) : "full"; }
std::string Removed(std::optional<int> row) { return row ? Text(*row) : "none"; }
std::string RowText(const PointRow& p) {
  return p.name + " " + p.xLetter + " " + p.xText + " " + p.yLetter + " " + p.yText;
}
CanvasSize Canvas(const std::string& list) { return {Real(Words(list).at(0)), Real(Words(list).at(1))}; }

// Pixel2Map: notation (m dms dd none) | edges "L R T B" | "x y" | canvas "W H" -> Pixel2Map from a cursor at
// (111, 222) | cell texts after the capture rounding | read-out | the captions recomputed (without "X Coord. ").
Out FrameRow(const Case& c) {
  const NotationChoice notation = Notation(c[1]);
  MapFrame frame = Edges(c[2]);
  Cursor cursor{111, 222, "", "", false};
  Pixel2Map(Real(Words(c[3]).at(0)), Real(Words(c[3]).at(1)), Canvas(c[4]), frame, notation, cursor);
  const std::string moved = Text(cursor.x) + " " + Text(cursor.y);
  const CellTexts cells = RoundForCapture(cursor, notation);
  RecomputeAxisCaptions(frame, notation);
  return {moved, cells.x + " " + cells.y, ReadoutText(cursor, notation),
          frame.xCaption.substr(9) + " " + frame.yCaption.substr(9)};
}

// session: notation | edges | canvas | actions, ";" between -> outcomes | "PointCount:" and the last four
// rows | read-out. Actions: "c x y" capture (row or "full"), "r x y" remove the nearest point (row or
// "none"), "d row" delete a grid row (yes/no), "p X Y" append a point with these texts (nothing, or "full"),
// "m" recompute the captions, "n notation" switch the notation; "N*" before an action repeats it N times.
Out SessionRow(const Case& c) {
  PointTable table;
  Cursor cursor;
  MapFrame frame = Edges(c[2]);
  NotationChoice notation = Notation(c[1]);
  const CanvasSize canvas = Canvas(c[3]);
  std::string outcomes;
  for (const std::string& action : Words(c[4], ';')) {
    const std::vector<std::string> w = Words(action);
    const char verb = w.at(0).back();
    std::string outcome;
    for (int i = w[0].find('*') != std::string::npos ? std::stoi(w[0]) : 1; i > 0; --i) {
      if (verb == 'c') outcome = Captured(CapturePoint(table, cursor, frame, notation, Real(w[1]), Real(w[2]), canvas));
      if (verb == 'r') outcome = Removed(Remove_Point(table, cursor, frame, notation, Real(w[1]), Real(w[2]), canvas));
      if (verb == 'd') outcome = table.removeRow(std::stoi(w[1])) ? "yes" : "no";
      if (verb == 'p' && table.append("E", w[1], "N", w[2]) == 0) outcome = "full";
      if (verb == 'm') RecomputeAxisCaptions(frame, notation);
      if (verb == 'n') notation = Notation(w[1]);
    }
    if (!outcome.empty()) outcomes += (outcomes.empty() ? "" : " ") + outcome;
  }
  std::string rows = std::to_string(table.PointCount()) + ":";
  for (int r = std::max(1, table.size() - 3); r <= table.size(); ++r) rows += " " + RowText(table.row(r)) + ";";
  return {outcomes, rows, ReadoutText(cursor, notation)};
}

// The marked form read back: the decimal degrees, or "Error" when a mark is missing.
std::string FromMarked(const std::string& text) {
  const MarkedReadResult read = MarkedToDecimal(text);
  return read.outcome == MarkedReadOutcome::Ok ? read.text : "Error";
}

// notation | points "x,y,X,Y; ..." -> edges left right top bottom | largest residual | rounding shift (to
// 1e-9 map units, so the fit's arithmetic may err in the last bits), or "!" and the refusal's first word.
Out CalibrationRow(const Case& c) {
  std::vector<ReferencePoint> points;
  for (const std::string& point : Words(c[2], ';')) {
    const auto p = Words(point, ',');
    points.push_back({Real(p.at(0)), Real(p.at(1)), p.at(2), p.size() > 3 ? p[3] : ""});
  }
  const Calibration fit = Calibrate(points, Notation(c[1]), CanvasSize{9000, 4500});
  if (fit.refusal) return {"!" + fit.refusal->substr(0, fit.refusal->find(' '))};
  const auto fixed = [](double v) { char b[64]; return std::string(b, std::to_chars(b, b + 64, v, std::chars_format::fixed, 9).ptr); };
  return {fit.edges[0] + " " + fit.edges[1] + " " + fit.edges[2] + " " + fit.edges[3], fixed(fit.largestResidual),
          fixed(fit.roundingShift)};
}

// Models, on a canvas of 60000 x 40000 twips at 15 twips a pixel. Transforms: "edges L R T B" ("_" an
// unreadable value), "helmert" or "affine" a0 a1 a2 b0 b1 b2, "projective" a0 a1 a2 b0 b1 b2 c0 c1 c2.
constexpr CanvasSize kModelCanvas{60000, 40000};
constexpr double kTpp = 15;
const std::vector<PicturePosition> kCorners = {{0, 0}, {60000, 0}, {0, 40000}, {60000, 40000}};

std::vector<double> Reals(std::string list) {
  std::replace(list.begin(), list.end(), ';', ' ');
  std::vector<double> values;
  for (const std::string& w : Words(list)) values.push_back(Real(w));
  return values;
}
TransformModel Kind(const std::string& word) {
  return std::map<std::string, TransformModel>{{"edges", TransformModel::Edges}, {"helmert", TransformModel::Helmert},
                                               {"affine", TransformModel::Affine},
                                               {"projective", TransformModel::Projective}}.at(word);
}
MapTransform Transform(const std::string& text) {
  const auto w = Words(text);
  const auto value = [&](int i) { return w.at(i).empty() ? std::nullopt : std::optional<double>(Real(w[i])); };
  if (w.at(0) == "edges") return EdgesTransform(value(1), value(2), value(3), value(4), kModelCanvas);
  const std::vector<double> k = Reals(text.substr(w[0].size()) + (w.size() < 8 ? " 1 0 0" : ""));
  return {Kind(w[0]), {}, {}, {k.at(0), k.at(1), k.at(2), k.at(3), k.at(4), k.at(5), k.at(6), k.at(7), k.at(8)}};
}
// "x,y,X,Y; x,y,X,Y,off; ..." -> reference points, the ones marked "off" switched off.
std::vector<KnownPoint> Points(const std::string& list) {
  std::vector<KnownPoint> points;
  for (const std::string& point : Words(list, ';')) {
    const auto p = Words(point, ',');
    points.push_back({Real(p.at(0)), Real(p.at(1)), Real(p.at(2)), Real(p.at(3)), p.size() < 5});
  }
  return points;
}
std::vector<double> MapAt(const MapTransform& t, const std::vector<PicturePosition>& positions) {
  std::vector<double> values;
  for (const PicturePosition& p : positions) {
    const MapPosition m = PictureToMap(t, p.x, p.y);
    values.insert(values.end(), {m.x.value_or(NAN), m.y.value_or(NAN)});
  }
  return values;
}
std::string Short(double v) {
  char b[64];
  return std::string(b, std::to_chars(b, b + 64, v, std::chars_format::general, 6).ptr);
}

// "ok" when every value lies within `tolerance` of the expected list's (";" read as a blank), else what
// differs: for results with no fixed order of evaluation, compared with an independent computation.
std::string Within(const std::vector<double>& actual, const std::string& expectedList, double tolerance) {
  const std::vector<double> expected = Reals(expectedList);
  if (actual.size() != expected.size()) return std::to_string(actual.size()) + " values";
  std::string off;
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!(std::abs(actual[i] - expected[i]) <= tolerance)) off += " #" + Text(i) + " " + Text(actual[i]);
  return off.empty() ? "ok" : "off:" + off;
}

// "!Kind", the space for repeated and collinear points, the points, value and limit to six digits unless
// both are 0, and where a horizon meets the border.
std::string RefusalText(const FitRefusal& r) {
  static const char* const kNames[] = {"NotFittedHere",   "NotANumber",      "TooFewPoints",    "RepeatedPoints",
                                       "CollinearPoints", "IllConditioned", "HorizonInPicture"};
  std::string text = std::string("!") + kNames[static_cast<int>(r.kind)];
  if (r.kind == FitRefusalKind::RepeatedPoints || r.kind == FitRefusalKind::CollinearPoints)
    text += r.space == FitRefusal::Space::Picture ? " picture" : " map";
  for (int point : r.points) text += " " + Text(point);
  if (r.value != 0 || r.limit != 0) text += " " + Short(r.value) + " " + Short(r.limit);
  if (r.kind == FitRefusalKind::HorizonInPicture)
    for (const PicturePosition& p : r.horizon) text += " " + Short(p.x) + " " + Short(p.y);
  return text;
}

// model ("helmert map" or "helmert picture": the handedness hint) | points -> the refusal, "fitted", or
// | the map coordinates at the corners; RMS in map units, in pixels; [each point's "dX dY dx dy"] | tolerance
// -> "ok".
Out FitRow(const Case& c) {
  const auto model = Words(c[1]);
  const Handedness hint = model.size() > 1 && model[1] == "picture" ? Handedness::Picture : Handedness::Map;
  const ModelFit fit = FitModel(Kind(model.at(0)), Points(c[2]), {kTpp, kModelCanvas, hint});
  if (fit.refusal) return {RefusalText(*fit.refusal)};
  if (c.fields.size() < 6) return {"fitted"};
  std::vector<double> actual = MapAt(fit.transform, kCorners);
  actual.insert(actual.end(), {fit.residuals.rmsMap, fit.residuals.rmsPixels});
  if (Reals(c[3]).size() > 10) {  // the row gives each point's residual
    for (const auto& r : fit.residuals.points) {
      const Offset pixels = r && r->pixels ? *r->pixels : Offset{NAN, NAN, NAN};
      actual.insert(actual.end(), {r ? r->map.x : NAN, r ? r->map.y : NAN, pixels.x, pixels.y});
    }
  }
  return {Within(actual, c[3], c.number(4))};
}

// "ok" when the map coordinates of the corners and of (18000, 28000) lead back to them within 1e-6 twips.
std::string RoundTrip(const MapTransform& t) {
  for (const PicturePosition& p : {kCorners[0], kCorners[1], kCorners[2], kCorners[3], PicturePosition{18000, 28000}}) {
    const std::vector<double> m = MapAt(t, {p});
    const auto back = MapToPicture(t, m[0], m[1]);
    if (!back) return "none";
    if (!(std::hypot(back->x - p.x, back->y - p.y) <= 1e-6)) return "off at " + Text(p.x) + " " + Text(p.y);
  }
  return "ok";
}

// transform | closest frame "L R T B" | tolerance -> "ok" ("none": no frame) | the captions it gives (without
// "X Coord. ") | its round trip.
Out TransformRow(const Case& c) {
  const MapTransform t = Transform(c[1]);
  const auto frame = ClosestFrame(t, kModelCanvas);
  MapFrame captions;
  SetAxisCaptions(captions, Directions(t, kModelCanvas));
  return {frame ? Within({frame->left, frame->right, frame->top, frame->bottom}, c[2], c.number(3)) : "none",
          captions.xCaption.substr(9) + " " + captions.yCaption.substr(9), RoundTrip(t)};
}

// notation | transform | presses "x y; ..." -> the rows captured, their letters from the captions of the
// model's directions | the row a removal at the first press takes.
Out CaptureWithRow(const Case& c) {
  const NotationChoice notation = Notation(c[1]);
  const MapTransform t = Transform(c[2]);
  MapFrame frame;
  SetAxisCaptions(frame, Directions(t, kModelCanvas));
  PointTable table;
  Cursor cursor;
  std::string rows;
  const std::vector<double> p = Reals(c[3]);
  for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
    CapturePoint(table, cursor, t, frame, notation, p[i], p[i + 1]);
    rows += (rows.empty() ? "" : "; ") + RowText(table.row(table.size()));
  }
  return {rows, Removed(Remove_Point(table, cursor, t, notation, p.at(0), p.at(1)))};
}

// transform | GDAL's map coordinates at pixels (0 0) (1.5 2.25) (4000 2666.5) | the geotransform; the world
// file A D B E C F with its ten decimals -> "ok" when the numbers are those and the transform read back from
// that world file gives those coordinates within 1e-8; "none" without a geotransform.
Out GeoRow(const Case& c) {
  const auto gt = ToGeoTransform(Transform(c[1]), kTpp);
  if (!gt) return {"none"};
  const WorldFile w = WithWorldFileDigits(ToWorldFile(*gt));
  const std::string numbers =
      Within({(*gt)[0], (*gt)[1], (*gt)[2], (*gt)[3], (*gt)[4], (*gt)[5], w.a, w.d, w.b, w.e, w.c, w.f}, c[3], 0);
  const std::vector<PicturePosition> pixels = {{0, 0}, {1.5 * kTpp, 2.25 * kTpp}, {4000 * kTpp, 2666.5 * kTpp}};
  return {numbers != "ok" ? numbers : Within(MapAt(FromGeoTransform(FromWorldFile(w), kTpp), pixels), c[2], 1e-8)};
}

// Every operation: its inputs -> its outputs.
const std::map<std::string, std::function<Out(const Case&)>> kOperations = {
    // text -> LeadingNumber | WholeTextNumber ("none": the text is not one number)
    {"reading", [](const Case& c) -> Out { return {Text(LeadingNumber(Unescape(c[1]))), Whole(Unescape(c[1]))}; }},
    // x -> NumberText | SignedNumberText | Floor
    {"NumberText", [](const Case& c) -> Out {
       return {NumberText(c.number(1)), SignedNumberText(c.number(1)), Text(Floor(c.number(1)))};
     }},
    // d:m:s text -> Degre2Decimal | Decimal2Degre of that value
    {"Degre2Decimal", [](const Case& c) -> Out { double v = Degre2Decimal(c[1]); return {Text(v), Decimal2Degre(v)}; }},
    // decimal degrees -> Decimal2Degre
    {"Decimal2Degre", [](const Case& c) -> Out { return {Decimal2Degre(c.number(1))}; }},
    {"Pixel2Map", FrameRow},
    {"session", SessionRow},
    {"calibrate", CalibrationRow},
    {"fit", FitRow},
    {"transform", TransformRow},
    {"captureWith", CaptureWithRow},
    {"geo", GeoRow},
    // key code | allowed characters | Backspace allowed (yes/no) -> ValiText (0: refused, a beep)
    {"ValiText", [](const Case& c) -> Out { return {Text(ValiText(c.integer(1), Unescape(c[2]), c[3] == "yes"))}; }},
    // notation | keys typed one by one -> the text the field takes | beeps
    {"typing", [](const Case& c) -> Out {
       std::string taken, refused;
       const NotationChoice notation = Notation(c[1]);
       for (const unsigned char key : Unescape(c[2])) (FilterKey(key, notation) ? taken : refused) += key;
       return {taken, std::to_string(refused.size())};
     }},
    // decimal degrees text -> the marked form | that form read back
    {"DecimalToMarked", [](const Case& c) -> Out { std::string m = DecimalToMarked(c[1]); return {m, FromMarked(m)}; }},
    // marked form -> decimal degrees
    {"MarkedToDecimal", [](const Case& c) -> Out { return {FromMarked(c[1])}; }},
    // bar value | canvas size | viewport size -> canvas position
    {"ScrollOffset", [](const Case& c) -> Out { return {Text(ScrollOffset(c.integer(1), c.number(2), c.number(3)))}; }},
    // bar value | arrow clicks (+ down or right, - up or left) -> bar value
    {"arrows", [](const Case& c) -> Out {
       int value = c.integer(1);
       const int step = c.integer(2) < 0 ? -kArrowStep : kArrowStep;
       for (int i = std::abs(c.integer(2)); i > 0; --i) value = ArrowTarget(value, step).value_or(value);
       return {std::to_string(value)};
     }},
    // picture width | height | viewport width | height -> the factor that shows the whole sheet
    {"FitZoom", [](const Case& c) -> Out { return {Text(FitZoom(c.number(1), c.number(2), c.number(3), c.number(4)))}; }},
    // zoom | steps | fit -> zoom
    {"StepZoom", [](const Case& c) -> Out { return {Text(StepZoom(c.number(1), c.integer(2), c.number(3)))}; }},
    // offset | anchor | old zoom | new zoom | shown canvas | viewport, in pixels -> offset
    {"ZoomedOffset", [](const Case& c) -> Out {
       return {Text(ZoomedOffset(c.integer(1), c.integer(2), c.number(3), c.number(4), c.integer(5), c.integer(6)))};
     }},
    // canvas offset | shown canvas | viewport -> the nearest bar value
    {"ScrollValueForOffset", [](const Case& c) -> Out {
       return {Text(ScrollValueForOffset(c.number(1), c.number(2), c.number(3)))};
     }},
};

class Core : public ::testing::TestWithParam<Case> {};

TEST_P(Core, Row) {
  // A German locale writes "3,25"; where one is installed every row runs under it, so "." must hold.
  static const bool kGerman = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE.utf8");
  const Case& c = GetParam();
  const Out actual = kOperations.at(c[0])(c);
  Out expected(c.fields.end() - std::min(actual.size(), c.fields.size()), c.fields.end());
  for (std::string& field : expected) field = Unescape(field);
  EXPECT_EQ(actual, expected) << c.where << (kGerman ? ", German locale" : "");
}

std::vector<Case> Table(const std::string& file) { return testing::ReadCases(VELMARO_CORE_CASES "/" + file); }
std::string Name(const ::testing::TestParamInfo<Case>& info) { return testing::CaseTestName(info.param, info.index); }

INSTANTIATE_TEST_SUITE_P(NumberText, Core, ::testing::ValuesIn(Table("number_text.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Dms, Core, ::testing::ValuesIn(Table("dms.cases")), Name);
INSTANTIATE_TEST_SUITE_P(MapFrame, Core, ::testing::ValuesIn(Table("map_frame.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Capture, Core, ::testing::ValuesIn(Table("capture.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Removal, Core, ::testing::ValuesIn(Table("removal.cases")), Name);
INSTANTIATE_TEST_SUITE_P(KeyFilter, Core, ::testing::ValuesIn(Table("key_filter.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Converter, Core, ::testing::ValuesIn(Table("converter.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Scroll, Core, ::testing::ValuesIn(Table("scroll.cases")), Name);
// Presses at 1:1, 2, 1/2 and 16 (the steps and the pixel conversion) are checked by the window test.
INSTANTIATE_TEST_SUITE_P(Zoom, Core, ::testing::ValuesIn(Table("zoom.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Calibration, Core, ::testing::ValuesIn(Table("calibration.cases")), Name);
INSTANTIATE_TEST_SUITE_P(Models, Core, ::testing::ValuesIn(Table("models.cases")), Name);

}  // namespace
}  // namespace velmaro
