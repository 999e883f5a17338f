#include "bench/point_cases.h"

#include <QCoreApplication>

#include <chrono>
#include <deque>

#include "bench/bench_window.h"
#include "core/capture.h"
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

std::optional<PointTimings> CorePointTimings(CanvasSize canvas, int rounds) {
  PointTable table;
  Cursor cursor;
  const MapFrame frame;
  const NotationChoice notation = CoordinateType::Meters;
  const auto capture = [&](Press press) { CapturePoint(table, cursor, frame, notation, press.x, press.y, canvas); };
  const auto remove = [&](Press press) {
    velmaro::Remove_Point(table, cursor, frame, notation, press.x, press.y, canvas);
  };
  return CaptureRemoveCycle(canvas, rounds, capture, remove, [&] { return table.size(); });
}

}  // namespace velmaro::bench
