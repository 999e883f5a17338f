#include "features.h"

#include <cmath>

#include "field.h"
#include "noise.h"

namespace sample_sheet {
namespace {

Polyline LakeShore(QPointF centre, QPointF along, double halfLength, double halfWidth) {
  const QPointF across(-along.y(), along.x());
  Polyline shore;
  constexpr int kPoints = 180;
  for (int i = 0; i < kPoints; ++i) {
    const double a = 2 * M_PI * i / kPoints;
    // A wobbly ellipse, a little fuller at its upstream end where the river comes in.
    const double wobble = 1 + 0.22 * (ValueNoise(std::cos(a) * 2.2 + 5, std::sin(a) * 2.2 + 5, 71) - 0.5) +
                          0.08 * std::cos(a);
    const double u = std::cos(a) * halfLength * wobble;
    const double v = std::sin(a) * halfWidth * wobble;
    shore.push_back(centre + u * along + v * across);
  }
  shore.push_back(shore.front());
  return shore;
}

std::vector<Road> Roads() {
  std::vector<Road> roads;
  // The valley road along the river's north bank.
  roads.push_back({RoadClass::Main, Spline({{150, 2275}, {450, 2135}, {800, 1990}, {1120, 1850}, {1400, 1730},
                                            {1700, 1595}, {1960, 1450}, {2200, 1335}, {2500, 1285},
                                            {2780, 1175}, {3050, 1015}, {3330, 850}, {3580, 690}, {3850, 560}})});
  // North over the saddle through Aldmoos.
  roads.push_back({RoadClass::Secondary, Spline({{1300, 1778}, {1360, 1560}, {1470, 1330}, {1520, 1130},
                                                 {1490, 900}, {1560, 640}, {1640, 430}, {1700, 190}})});
  // South across the river and the railway to Kessling and on out of the sheet.
  roads.push_back({RoadClass::Secondary, Spline({{985, 1912}, {1010, 2060}, {1080, 2200}, {1150, 2300},
                                                 {1250, 2440}, {1330, 2560}, {1380, 2690}})});
  // North-east up to Ternau.
  roads.push_back({RoadClass::Secondary, Spline({{3050, 1015}, {3110, 860}, {3150, 730}, {3240, 560},
                                                 {3330, 400}, {3380, 190}})});
  // Along the southern slope from Kessling to Mirschach, then over the river to the valley road.
  roads.push_back({RoadClass::Secondary, Spline({{1150, 2300}, {1450, 2360}, {1800, 2300}, {2150, 2140},
                                                 {2450, 1960}, {2620, 1830}, {2690, 1620}, {2740, 1400},
                                                 {2790, 1180}})});
  // West from Hollweiler up the hill.
  roads.push_back({RoadClass::Secondary, Spline({{620, 2060}, {560, 1850}, {430, 1640}, {300, 1480},
                                                 {150, 1400}})});
  // Tracks through the woods and over the hills.
  roads.push_back({RoadClass::Track, Spline({{560, 1850}, {700, 1600}, {760, 1320}, {700, 1060}, {820, 820},
                                             {1050, 640}, {1300, 560}, {1560, 640}})});
  roads.push_back({RoadClass::Track, Spline({{1520, 1130}, {1800, 1080}, {2100, 960}, {2380, 880},
                                             {2650, 860}, {2900, 900}, {3110, 860}})});
  roads.push_back({RoadClass::Track, Spline({{2620, 1830}, {2900, 1930}, {3200, 2050}, {3480, 2330},
                                             {3700, 2450}, {3850, 2470}})});
  roads.push_back({RoadClass::Track, Spline({{1800, 2300}, {1950, 2480}, {2250, 2560}, {2600, 2520},
                                             {2850, 2380}})});
  roads.push_back({RoadClass::Track, Spline({{3240, 560}, {3500, 470}, {3850, 420}})});
  return roads;
}

std::vector<Settlement> Settlements() {
  return {
      {"Aldmoos", {1480, 1240}, 230, 60, 40, false, {175, -55}},
      {"Kessling", {1160, 2300}, 190, 44, 36, false, {-10, 110}},
      {"Ternau", {3160, 720}, 190, 40, 36, false, {180, 40}},
      {"Mirschach", {2600, 1850}, 170, 34, 34, false, {-215, 10}},
      {"Hollweiler", {640, 2060}, 150, 24, 30, false, {-40, -85}},
      {"Rodeck", {3480, 2330}, 80, 6, 24, true, {20, -55}},
      {"Am Sattel", {1620, 470}, 70, 5, 24, true, {130, 15}},
      {"Felsmühle", {2250, 2560}, 60, 4, 24, true, {0, -45}},
  };
}

}  // namespace

World MakeWorld() {
  World world;
  world.river = Spline({{3860, 600}, {3560, 765}, {3300, 965}, {3020, 1135}, {2760, 1305}, {2480, 1425},
                        {2200, 1505}, {1930, 1585}, {1650, 1705}, {1380, 1845}, {1100, 1955}, {820, 2085},
                        {560, 2235}, {330, 2335}, {140, 2410}});
  world.lakeCentre = QPointF(2190, 1505);
  const QPointF along = QPointF(-0.962, 0.273);
  world.lakeShore = LakeShore(world.lakeCentre, along, 300, 130);
  world.roads = Roads();
  world.railway = Spline({{140, 2480}, {500, 2352}, {900, 2192}, {1300, 2012}, {1700, 1842}, {2050, 1712},
                          {2400, 1652}, {2750, 1492}, {3100, 1297}, {3450, 1092}, {3860, 875}});
  world.settlements = Settlements();
  world.summits = {
      {"Hoher Kopf", {880, 760}, true, {0, -48}},
      {"Eichberg", {2760, 2160}, false, {0, -44}},
      {"Rabenstein", {3360, 1700}, false, {-10, -40}},
      {"Lindenhöhe", {2620, 600}, false, {0, -44}},
      {"", {1650, 760}, false, {0, 0}},
      {"", {1900, 2330}, false, {0, 0}},
  };
  world.streamSources = {{1000, 1150}, {600, 1250}, {1250, 420}, {2050, 700}, {2450, 900}, {3000, 560},
                         {3550, 1350}, {3150, 1900}, {2900, 2420}, {2150, 2450}, {1650, 2500}, {700, 2560},
                         {3700, 2100}, {380, 900},   {1900, 420}, {2300, 380}, {3450, 380},  {1150, 800},
                         {2500, 2250}, {1450, 2550}, {450, 2500}, {3750, 1700}, {2750, 350}};
  world.waterNames = {{"Brenn", {3280, 1010}, -31, 30},
                      {"Brenn", {1180, 1960}, -22, 30},
                      {"Brennsee", {2185, 1505}, -16, 32}};
  world.forestNames = {{"Brennwald", {1090, 1060}, -74, 34}};
  world.roadNumberAt = QPointF(830, 1977);
  return world;
}

}  // namespace sample_sheet
