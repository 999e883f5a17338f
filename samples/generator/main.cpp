// Draws the sample sheet: a made-up 1:25 000 topographic map, "scanned" at 2.5 m a pixel, with its info
// file (calibrated in metres) and the table of its labelled grid crossings.
//
//   velmaro_sample_sheet OUTPUT_FOLDER
//
// writes OUTPUT_FOLDER/sample-sheet.jpg, sample-sheet.info and crossings.txt. The same program, fonts
// and JPEG library give the same bytes: every random choice comes from a fixed seed.

#include <QGuiApplication>
#include <QImageWriter>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "field.h"
#include "files/info_file.h"
#include "ground.h"
#include "linework.h"
#include "margin.h"
#include "places.h"
#include "scan.h"
#include "sheet.h"
#include "terrain.h"

namespace sample_sheet {
namespace {

// The path the info file names: the picture as `bash scripts/start` opens it, from the clone's top
// folder. The installed copy names its installed path instead (samples/CMakeLists.txt).
constexpr const char* kMapPath = "samples/sample-sheet.jpg";
constexpr int kJpegQuality = 76;

bool NearCrossing(QPointF p, double reach) {
  for (int e = kFirstEasting; e <= kLastEasting; e += kGridMetres)
    for (int n = kFirstNorthing; n <= kLastNorthing; n += kGridMetres)
      if (std::hypot(p.x() - ColumnOf(e), p.y() - RowOf(n)) < reach) return true;
  return false;
}

QImage DrawSheet() {
  const World world = MakeWorld();
  const Terrain terrain(world);
  std::vector<Polyline> lines{world.railway};
  for (const Road& road : world.roads) lines.push_back(road.curve);
  const Field roadDistance = DistanceField(lines, 4, 200);

  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  PaintPaper(image);
  const QRect body = kBody.toRect();
  const HeightGrid heights(terrain, body.left(), body.top(), body.width() + 1, body.height() + 1);
  PaintGround(image, world, terrain, heights);
  PaintContourNumbers(image, heights, terrain, [&](QPointF p) {
    if (NearCrossing(p, 45) || roadDistance.sample(p.x(), p.y()) < 45) return true;
    for (const Settlement& s : world.settlements)
      if (std::hypot(p.x() - s.centre.x(), p.y() - s.centre.y()) < s.radius + 80) return true;
    for (const Summit& s : world.summits)
      if (std::hypot(p.x() - s.near.x(), p.y() - s.near.y()) < 160) return true;
    return false;
  });
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(kBody);
    PaintWater(painter, world, terrain);
    PaintRailway(painter, world);
    PaintRoads(painter, world);
    PaintBuildings(painter, PlaceBuildings(world, terrain, roadDistance, [](QPointF p) { return NearCrossing(p, 22); }));
    PaintSummits(painter, world, heights);
    PaintNames(painter, world);
  }
  PaintGrid(image);
  PaintMargin(image);
  ApplyScan(image);
  return image;
}

bool WriteCrossings(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "# The labelled grid crossings of sample-sheet.jpg, written with it by samples/generator.\n"
         "# name | column | row | easting | northing\n"
         "# The picture is 2.5 m a pixel from its top-left corner at 435500 mE, 5262600 mN (the edge values of\n"
         "# sample-sheet.info), so column = (easting - 435500) / 2.5 and row = (5262600 - northing) / 2.5.\n";
  for (int n = kLastNorthing; n >= kFirstNorthing; n -= kGridMetres)
    for (int e = kFirstEasting; e <= kLastEasting; e += kGridMetres)
      out << "E" << e / 1000 << " N" << n / 1000 << " | " << ColumnOf(e) << " | " << RowOf(n) << " | " << e << " | "
          << n << "\n";
  return static_cast<bool>(out);
}

velmaro::InfoFileValues SheetInfo() {
  velmaro::InfoFileValues info;
  info.notation = velmaro::CoordinateType::Meters;
  info.mapPath = kMapPath;
  info.frame.left = std::to_string(kLeftEasting);
  info.frame.right = std::to_string(kRightEasting);
  info.frame.top = std::to_string(kTopNorthing);
  info.frame.bottom = std::to_string(kBottomNorthing);
  info.frame.xCaption = std::string(velmaro::kXEast);
  info.frame.yCaption = std::string(velmaro::kYNorth);
  return info;
}

}  // namespace
}  // namespace sample_sheet

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  QImageWriter writer(QString::fromStdString(folder + "/sample-sheet.jpg"), "jpeg");
  writer.setQuality(sample_sheet::kJpegQuality);
  writer.setOptimizedWrite(true);
  if (!writer.write(sample_sheet::DrawSheet())) {
    std::fprintf(stderr, "cannot write the picture: %s\n", writer.errorString().toLocal8Bit().constData());
    return 1;
  }
  if (velmaro::WriteInfoFile(folder + "/sample-sheet.info", sample_sheet::SheetInfo())) {
    std::fprintf(stderr, "cannot write the info file\n");
    return 1;
  }
  if (!sample_sheet::WriteCrossings(folder + "/crossings.txt")) {
    std::fprintf(stderr, "cannot write the crossings\n");
    return 1;
  }
  return 0;
}
