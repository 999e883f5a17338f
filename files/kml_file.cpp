#include "files/kml_file.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/dms.h"
#include "core/number_text.h"

namespace velmaro {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array<std::string_view, 11> kHeadLines = {
    R"(<?xml version="1.0" encoding="UTF-8"?>)",
    R"(<kml xmlns="http://www.opengis.net/kml/2.2">)",
    "<extrude>0</extrude>",
    "<tessellate>0</tessellate>",
    "<Document>",
    "     <IconStyle>",
    "<Icon>",
    "<href>http://maps.google.com/mapfiles/kml/pushpin/ylw-pushpin.png</href>",
    "<scale>0.05</scale>",
    "</Icon>",
    "</IconStyle>",
};

constexpr std::array<std::string_view, 2> kTailLines = {"</Document>", "</kml>"};

constexpr double kFiveDecimals = 100000;

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

double LongitudeSign(const MapFrame& frame) { return frame.xCaption == kXEast ? 1 : -1; }

double LatitudeSign(const MapFrame& frame) { return frame.yCaption == kYSouth ? -1 : 1; }

double CellDegrees(std::string_view cell, CoordinateType notation) {
  if (notation == CoordinateType::DegMinSec) return Floor(Degre2Decimal(cell) * kFiveDecimals) / kFiveDecimals;
  return LeadingNumber(cell);
}

std::string CoordinatesLine(double longitude, double latitude) {
  std::string line =
      "<coordinates>" + SignedNumberText(longitude) + "," + SignedNumberText(latitude) + "</coordinates>";
  std::erase(line, ' ');
  return line;
}

void AppendPlacemark(std::string& text, int k, double longitude, double latitude) {
  AppendLine(text, "<Placemark>");
  AppendLine(text, "<name>Pt" + SignedNumberText(k) + "</name>");
  AppendLine(text, "<description>Pt</description>");
  AppendLine(text, "<Point>");
  AppendLine(text, CoordinatesLine(longitude, latitude));
  AppendLine(text, "</Point>");
  AppendLine(text, "</Placemark>");
}

}  // namespace

std::string KmlText(const PointTable& table, const MapFrame& frame, CoordinateType notation) {
  std::string text;
  for (const std::string_view line : kHeadLines) AppendLine(text, line);
  for (int k = 1; k <= table.size(); ++k) {
    const PointRow& point = table.row(k);
    const double longitude = LongitudeSign(frame) * CellDegrees(point.xText, notation);
    const double latitude = LatitudeSign(frame) * CellDegrees(point.yText, notation);
    AppendPlacemark(text, k, longitude, latitude);
  }
  for (const std::string_view line : kTailLines) AppendLine(text, line);
  return text;
}

std::optional<FileError> WriteKmlFile(const std::string& path, const PointTable& table, const MapFrame& frame,
                                         CoordinateType notation) {
  return ReplaceFileContents(path, KmlText(table, frame, notation));
}

}  // namespace velmaro
