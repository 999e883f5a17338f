#include "bench/point_cases.h"

#include <QCoreApplication>

#include <chrono>
#include <deque>

#include "bench/bench_window.h"
#include "core/capture.h"
#include "core/map_calibration.h"
#include "core/model_fit.h"
#include "core/point_table.h"
#include "core/removal.h"
#include "ui/map_canvas.h"

namespace velmaro::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPointsBeforeCapture = 249;
constexpr int kLattice = 100;
constexpr int kLeftButton = 1;

struct Press {
  double x = 0;
  double y = 0;
};

// The k-th press: lattice cells row by row, at cell centres, so two presses less than 10000 apart never meet.
Press PressNumber(int k, CanvasSize canvas) {
  const int column = k % kLattice;
  const int row = (k / kLattice) % kLattice;
  return {(column + 0.5) / kLattice * canvas.width, (row + 0.5) / kLattice * canvas.height};
}

template <typename Operation>
double Microseconds(Operation operation) {
  const auto start = Clock::now();
  operation();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Fills to 249 points untimed, then alternates a timed capture and a timed removal of the oldest point.
// `count` tells the table's size, so each press is checked to change it by exactly one.
template <typename Capture, typename Remove, typename Count>
std::optional<PointTimings> CaptureRemoveCycle(CanvasSize canvas, int rounds, Capture capture, Remove remove,
                                               Count count) {
  std::deque<Press> live;
  int next = 0;
  while (count() < kPointsBeforeCapture) {
    live.push_back(PressNumber(next++, canvas));
    capture(live.back());
  }
  PointTimings timings;
  for (int round = 0; round < rounds; ++round) {
    live.push_back(PressNumber(next++, canvas));
    timings.captureMicroseconds.push_back(Microseconds([&] { capture(live.back()); }));
    if (count() != kPointsBeforeCapture + 1) return std::nullopt;
    timings.removalMicroseconds.push_back(Microseconds([&] { remove(live.front()); }));
    live.pop_front();
    if (count() != kPointsBeforeCapture) return std::nullopt;
  }
  return timings;
}

}  // namespace

std::optional<PointTimings> WindowPointTimings(BenchWindow& window, int rounds, bool withRepaint) {
  ui::Form1& form = window.form();
  const CanvasSize canvas{form.Picture1->widthTwips(), form.Picture1->heightTwips()};
  const auto settle = [withRepaint] {
    if (withRepaint) QCoreApplication::processEvents();
  };
  const auto capture = [&](Press press) {
    form.Picture1_MouseDown(kLeftButton, 0, press.x, press.y);
    settle();
  };
  const auto remove = [&](Press press) {
    form.Remove_Point(press.x, press.y);
    settle();
  };
  const auto count = [&] { return form.pointTable().size(); };
  auto timings = CaptureRemoveCycle(canvas, rounds, capture, remove, count);
  // The next case starts from an empty table and no pending paint.
  const Press anywhere = PressNumber(0, canvas);
  for (int left = form.pointTable().size(); left > 0; --left) form.Remove_Point(anywhere.x, anywhere.y);
  QCoreApplication::processEvents();
  return timings;
}

std::optional<PointTimings> CorePointTimings(CanvasSize canvas, int rounds, std::optional<MapTransform> model) {
  PointTable table;
  Cursor cursor;
  const MapCalibration calibration{MapFrame{}, CoordinateType::Meters, canvas, std::move(model)};
  const auto capture = [&](Press press) { CapturePoint(table, cursor, calibration, press.x, press.y); };
  const auto remove = [&](Press press) { RemoveNearestPoint(table, cursor, calibration, press.x, press.y); };
  return CaptureRemoveCycle(canvas, rounds, capture, remove, [&] { return table.size(); });
}

namespace {
// The design frame, 10000..15000 and 30000..25000, seen at an angle: the far side of the picture narrower.
std::vector<KnownPoint> PhotographPoints(CanvasSize canvas, int count) {
  std::vector<KnownPoint> points;
  for (int i = 0; i < count; ++i) {
    const double u = (i % 10 + 0.5) / 10, v = (i / 10 + 0.5) / ((count + 9) / 10);
    const double squeeze = 1 - 0.2 * v;
    points.push_back({canvas.width * (0.5 + (u - 0.5) * squeeze), canvas.height * v, 10000 + 5000 * u, 30000 - 5000 * v, true});
  }
  return points;
}
}  // namespace

MapTransform PhotographModel(CanvasSize canvas) {
  return FitModel(TransformModel::Projective, PhotographPoints(canvas, 50), FitSettings{15, canvas, Handedness::Map})
      .transform;
}

std::vector<double> FitMicroseconds(TransformModel model, CanvasSize canvas, int rounds) {
  const std::vector<KnownPoint> points = PhotographPoints(canvas, 50);
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i)
    times.push_back(Microseconds([&] { FitModel(model, points, FitSettings{15, canvas, Handedness::Map}); }));
  return times;
}

}  // namespace velmaro::bench
