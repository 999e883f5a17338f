// One runner for every table in cases/. A row is `name | operation | inputs... | outputs...`: the
// operation's outputs must equal the row's last fields exactly. Doubles are written in their shortest
// round-trip form (to_chars), so equal texts are equal doubles. "\xHH" in a text stands for that byte;
// in blank-separated lists "_" stands for an empty text.

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
using Out = std::vector<std::string>;

std::string Bytes(std::string text) {
  for (std::size_t i = 0; (i = text.find("\\x", i)) != std::string::npos; ++i) {
    text.replace(i, 4, 1, static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
  }
  return text;
}

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

// Transforms in rows: "edges L R T B W H" ("_" an unreadable value), "helmert" or "affine" a0 a1 a2 b0 b1 b2,
// "projective" a0 a1 a2 b0 b1 b2 c0 c1 c2 (X = (a0 + a1 x + a2 y) / (c0 + c1 x + c2 y), x and y in twips).
TransformModel Kind(const std::string& word) {
  return std::map<std::string, TransformModel>{{"edges", TransformModel::Edges}, {"helmert", TransformModel::Helmert},
                                               {"affine", TransformModel::Affine},
                                               {"projective", TransformModel::Projective}}.at(word);
}
MapTransform Transform(const std::string& text) {
  const auto w = Words(text);
  const auto value = [&](int i) { return w.at(i).empty() ? std::nullopt : std::optional<double>(Real(w[i])); };
  if (w.at(0) == "edges") return EdgesTransform(value(1), value(2), value(3), value(4), Canvas(w[5] + " " + w[6]));
  const bool projective = w.size() > 7;
  return {Kind(w[0]), {}, {}, {Real(w.at(1)), Real(w.at(2)), Real(w.at(3)), Real(w.at(4)), Real(w.at(5)), Real(w.at(6)),
                               projective ? Real(w.at(7)) : 1, projective ? Real(w.at(8)) : 0, projective ? Real(w.at(9)) : 0}};
}
// "tpp W H map|picture" -> the fit's settings; "x,y,X,Y; x,y,X,Y,off; ..." -> reference points.
FitSettings Settings(const std::string& text) {
  const auto w = Words(text);
  return {Real(w.at(0)), {Real(w.at(1)), Real(w.at(2))}, w.at(3) == "map" ? Handedness::Map : Handedness::Picture};
}
std::vector<KnownPoint> Points(const std::string& list) {
  std::vector<KnownPoint> points;
  for (const std::string& point : Words(list, ';')) {
    const auto p = Words(point, ',');
    points.push_back({Real(p.at(0)), Real(p.at(1)), Real(p.at(2)), Real(p.at(3)), p.size() < 5});
  }
  return points;
}
std::vector<double> Reals(const std::string& list) {
  std::vector<double> values;
  for (const std::string& w : Words(list)) values.push_back(Real(w));
  return values;
}
std::string Short(double v) { char b[64]; return std::string(b, std::to_chars(b, b + 64, v, std::chars_format::general, 6).ptr); }

// "ok" when every value lies within `tolerance` of the expected one (blank-separated, ";" ignored), else
// what differs: for results with no fixed order of evaluation, compared with an independent computation.
std::string Within(const std::vector<double>& actual, std::string expectedList, double tolerance) {
  std::replace(expectedList.begin(), expectedList.end(), ';', ' ');
  const std::vector<double> expected = Reals(expectedList);
  if (actual.size() != expected.size()) return std::to_string(actual.size()) + " values";
  std::string off;
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!(std::abs(actual[i] - expected[i]) <= tolerance)) off += " #" + Text(i) + " " + Text(actual[i]);
  return off.empty() ? "ok" : "off:" + off;
}

std::string RefusalText(const FitRefusal& r) {
  static const std::map<FitRefusalKind, std::string> kNames = {
      {FitRefusalKind::NotFittedHere, "NotFittedHere"}, {FitRefusalKind::NotANumber, "NotANumber"},
      {FitRefusalKind::TooFewPoints, "TooFewPoints"}, {FitRefusalKind::RepeatedPoints, "RepeatedPoints"},
      {FitRefusalKind::CollinearPoints, "CollinearPoints"}, {FitRefusalKind::IllConditioned, "IllConditioned"},
      {FitRefusalKind::HorizonInPicture, "HorizonInPicture"}};
  std::string text = "!" + kNames.at(r.kind);
  if (r.kind == FitRefusalKind::RepeatedPoints || r.kind == FitRefusalKind::CollinearPoints)
    text += r.space == FitRefusal::Space::Picture ? " picture" : " map";
  for (int point : r.points) text += " " + Text(point);
  if (r.kind == FitRefusalKind::HorizonInPicture) {
    for (const PicturePosition& p : r.horizon) text += " " + Short(p.x) + " " + Short(p.y);
  } else if (r.kind != FitRefusalKind::NotFittedHere && r.kind != FitRefusalKind::NotANumber) {
    text += " " + Short(r.value) + " " + Short(r.limit);
  }
  return text;
}

// model | "tpp W H handedness" | points -> "!" and the refusal (its points, then value and limit to six
// digits), or on rows that go on: | map coordinates at the canvas's corners (0,0) (W,0) (0,H) (W,H) | RMS in
// map units and in pixels | tolerance -> "ok".
Out FitRow(const Case& c) {
  const ModelFit fit = FitModel(Kind(c[1]), Points(c[3]), Settings(c[2]));
  if (fit.refusal) return {RefusalText(*fit.refusal)};
  if (c.fields.size() < 8) return {"fitted"};
  const CanvasSize canvas = Settings(c[2]).canvas;
  std::vector<double> actual;
  for (const auto& [x, y] : {std::pair(0.0, 0.0), {canvas.width, 0.0}, {0.0, canvas.height}, {canvas.width, canvas.height}}) {
    const MapPosition m = PictureToMap(fit.transform, x, y);
    actual.insert(actual.end(), {m.x.value_or(NAN), m.y.value_or(NAN)});
  }
  actual.insert(actual.end(), {fit.residuals.rmsMap, fit.residuals.rmsPixels});
  return {Within(actual, c[4] + " " + c[5], c.number(6))};
}

// model | settings | points | each point's residual "dX dY dx dy" (map units, then pixels) | tolerance -> "ok".
Out ResidualsRow(const Case& c) {
  const ModelFit fit = FitModel(Kind(c[1]), Points(c[3]), Settings(c[2]));
  if (fit.refusal) return {RefusalText(*fit.refusal)};
  std::vector<double> actual;
  for (const auto& r : fit.residuals.points) {
    const Offset pixels = r && r->pixels ? *r->pixels : Offset{NAN, NAN, NAN};
    actual.insert(actual.end(), {r ? r->map.x : NAN, r ? r->map.y : NAN, pixels.x, pixels.y});
  }
  return {Within(actual, c[4], c.number(5))};
}

// transform | canvas "W H" | closest frame "L R T B" (or "_") | tolerance -> "ok" (or "none") | the captions
// SetAxisCaptions gives a frame with the design captions (without "X Coord. ").
Out ClosestFrameRow(const Case& c) {
  const MapTransform t = Transform(c[1]);
  const auto frame = ClosestFrame(t, Canvas(c[2]));
  MapFrame captions;
  SetAxisCaptions(captions, Directions(t, Canvas(c[2])));
  const std::string edges =
      frame ? Within({frame->left, frame->right, frame->top, frame->bottom}, c[3], c.number(4)) : "none";
  return {edges, captions.xCaption.substr(9) + " " + captions.yCaption.substr(9)};
}

// transform | positions "x y; ..." | tolerance (twips) -> "ok" when the map coordinates of each position
// lead back to it, "none" when they cannot.
Out InverseRow(const Case& c) {
  const MapTransform t = Transform(c[1]);
  std::vector<double> actual;
  for (const std::string& position : Words(c[2], ';')) {
    const std::vector<double> p = Reals(position);
    const MapPosition m = PictureToMap(t, p.at(0), p.at(1));
    const auto back = MapToPicture(t, m.x.value_or(NAN), m.y.value_or(NAN));
    if (!back) return {"none"};
    actual.insert(actual.end(), {back->x, back->y});
  }
  return {Within(actual, c[2], c.number(3))};
}

std::string Optional(std::optional<double> v) { return v ? Text(*v) : "none"; }
std::string Joined(const std::vector<double>& values) {
  std::string text;
  for (double v : values) text += (text.empty() ? "" : " ") + Text(v);
  return text;
}

// notation | edges | "x y" | canvas -> the edges model's "X Y" | Pixel2Map's from a cursor at (111, 222).
Out EdgesRow(const Case& c) {
  const NotationChoice notation = Notation(c[1]);
  const MapFrame frame = Edges(c[2]);
  const std::vector<double> p = Reals(c[3]);
  const MapPosition m = PictureToMap(EdgesTransform(frame, notation, Canvas(c[4])), p.at(0), p.at(1));
  Cursor cursor{111, 222, "", "", false};
  Pixel2Map(p.at(0), p.at(1), Canvas(c[4]), frame, notation, cursor);
  return {Optional(m.x) + " " + Optional(m.y), Text(cursor.x) + " " + Text(cursor.y)};
}

// notation | transform | canvas | press "x y" -> the row a capture through the transform appends, its letters
// from the captions of the model's directions | the row a removal at the same press takes ("none").
Out CaptureWithRow(const Case& c) {
  const NotationChoice notation = Notation(c[1]);
  const MapTransform t = Transform(c[2]);
  const std::vector<double> p = Reals(c[4]);
  MapFrame frame;
  SetAxisCaptions(frame, Directions(t, Canvas(c[3])));
  PointTable table;
  Cursor cursor;
  CapturePoint(table, cursor, t, frame, notation, p.at(0), p.at(1));
  const std::string row = RowText(table.row(1));
  return {row, Removed(Remove_Point(table, cursor, t, notation, p.at(0), p.at(1)))};
}

// transform | twips per pixel -> geotransform | world file A D B E C F | its ten-decimal digits | the
// transform back from the geotransform (a0 a1 a2 b0 b1 b2); "none" without a geotransform.
Out GeoRow(const Case& c) {
  const double tpp = c.number(2);
  const auto gt = ToGeoTransform(Transform(c[1]), tpp);
  if (!gt) return {"none"};
  const WorldFile w = ToWorldFile(*gt);
  const WorldFile digits = WithWorldFileDigits(w);
  const TransformCoefficients k = FromGeoTransform(*gt, tpp).coefficients;
  return {Joined({gt->begin(), gt->end()}), Joined({w.a, w.d, w.b, w.e, w.c, w.f}),
          Joined({digits.a, digits.d, digits.b, digits.e, digits.c, digits.f}), Joined({k.a0, k.a1, k.a2, k.b0, k.b1, k.b2})};
}

// world file lines "A D B E C F" | twips per pixel | pixel positions "px py; ..." | gdaltransform's "X Y; ..."
// -> "ok" when the transform read from the world file agrees with GDAL within 1e-6 map units.
Out GdalRow(const Case& c) {
  const std::vector<double> l = Reals(c[1]);
  const double tpp = c.number(2);
  const MapTransform t = FromGeoTransform(FromWorldFile({l.at(0), l.at(1), l.at(2), l.at(3), l.at(4), l.at(5)}), tpp);
  std::vector<double> actual;
  for (const std::string& position : Words(c[3], ';')) {
    const std::vector<double> p = Reals(position);
    const MapPosition m = PictureToMap(t, p.at(0) * tpp, p.at(1) * tpp);
    actual.insert(actual.end(), {m.x.value_or(NAN), m.y.value_or(NAN)});
  }
  return {Within(actual, c[4], 1e-6)};
}

// Every operation: its inputs -> its outputs.
const std::map<std::string, std::function<Out(const Case&)>> kOperations = {
    // text -> LeadingNumber | WholeTextNumber ("none": the text is not one number)
    {"reading", [](const Case& c) -> Out { return {Text(LeadingNumber(Bytes(c[1]))), Whole(Bytes(c[1]))}; }},
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
    {"residuals", ResidualsRow},
    {"frame", ClosestFrameRow},
    {"inverse", InverseRow},
    {"edges", EdgesRow},
    {"captureWith", CaptureWithRow},
    {"geo", GeoRow},
    {"gdal", GdalRow},
    // key code | allowed characters | Backspace allowed (yes/no) -> ValiText (0: refused, a beep)
    {"ValiText", [](const Case& c) -> Out { return {Text(ValiText(c.integer(1), Bytes(c[2]), c[3] == "yes"))}; }},
    // notation | keys typed one by one -> the text the field takes | beeps
    {"typing", [](const Case& c) -> Out {
       std::string taken, refused;
       const NotationChoice notation = Notation(c[1]);
       for (const unsigned char key : Bytes(c[2])) (FilterKey(key, notation) ? taken : refused) += key;
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
  for (std::string& field : expected) field = Bytes(field);
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
