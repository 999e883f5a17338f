#pragma once
// What the sample sheet shows, placed by hand in picture pixels: the river and its lake, the roads, the
// railway, the settlements and the names. The terrain (terrain.h) is shaped around the water.

#include <QString>
#include <vector>

#include "sheet.h"

namespace sample_sheet {

enum class RoadClass { Main, Secondary, Track };

struct Road {
  RoadClass kind;
  Polyline curve;
};

struct Settlement {
  QString name;
  QPointF centre;
  double radius;      // buildings are placed along roads within this distance of the centre
  int buildings;
  int nameSize;       // pixel size of the name
  bool hamlet;        // hamlets are named in italics
  QPointF nameOffset; // from the centre to the name's centre
};

struct Summit {
  QString name;       // empty for an unnamed spot height
  QPointF near;       // the spot is the highest point of the terrain within 120 px of this
  bool trig;          // a trigonometric point (triangle) instead of a dot
  QPointF nameOffset;
};

struct AreaName {
  QString text;
  QPointF centre;
  double angleDegrees;
  int size;
};

struct World {
  Polyline river;            // downstream end last
  Polyline lakeShore;        // closed
  QPointF lakeCentre;
  std::vector<Road> roads;
  Polyline railway;
  std::vector<Settlement> settlements;
  std::vector<Summit> summits;
  std::vector<QPointF> streamSources;  // streams run downhill from here to the river
  std::vector<AreaName> waterNames;    // blue italics
  std::vector<AreaName> forestNames;   // green italics
  QPointF roadNumberAt;                // the main road's number plate
};

// The one world of the sample sheet (deterministic).
World MakeWorld();

}  // namespace sample_sheet
