#include "bench/window_report.h"

#include <QSize>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "bench/bench_window.h"
#include "bench/decoding_frames_case.h"
#include "bench/point_cases.h"
#include "bench/scroll_case.h"
#include "bench/startup_case.h"
#include "bench/stats.h"
#include "bench/summary.h"
#include "bench/zoom_case.h"
#include "bench/test_map.h"
#include "ui/map_canvas.h"
#include "map_picture/map_picture_loader.h"

namespace velmaro::bench {
namespace {

constexpr double kFrameGoalMilliseconds = 16;
constexpr double kPointGoalMicroseconds = 1000;
constexpr double kFitGoalMicroseconds = 5000;  // a fit of 50 reference points
constexpr double kStartupGoalMilliseconds = 300;
constexpr int kScrollPasses = 2;
constexpr int kPointRounds = 200;
constexpr QSize kLargeClient{1920, 1080};

constexpr const char* kRowFormat = "  %-62s %10s %10s %6s %10s %7s  %s\n";

// One measured figure: its samples, the unit they are in and how many decimals show.
struct Figure {
  std::vector<double> samples;
  const char* unit;
  int decimals;
};

std::string Shown(double value, const Figure& figure) { return Fixed(value, figure.decimals) + " " + figure.unit; }

void PrintHeader(const char* title) {
  std::printf("\n%s\n", title);
  std::printf(kRowFormat, "case", "median", "p95", "runs", "reference", "x ref", "goal");
}

// A row; `reference` is the median it is compared with (none: no ratio), `goal` the limit for the median
// and the 95th percentile both (0: none).
void PrintRow(const std::string& label, const Figure& figure, std::optional<double> reference, double goal) {
  const double median = Median(figure.samples);
  const double p95 = Percentile(figure.samples, 0.95);
  const std::string referenceText = reference ? Shown(*reference, figure) : std::string("-");
  const std::string ratio = reference && *reference > 0 ? Fixed(median / *reference, 2) : std::string("-");
  std::string goalText = "-";
  if (goal > 0) goalText = "<= " + Fixed(goal, 0) + " " + figure.unit + " " + Verdict(median <= goal && p95 <= goal);
  std::printf(kRowFormat, label.c_str(), Shown(median, figure).c_str(), Shown(p95, figure).c_str(),
              std::to_string(figure.samples.size()).c_str(), referenceText.c_str(), ratio.c_str(), goalText.c_str());
  std::fflush(stdout);
}

void AddGoal(GoalSummary& summary, const std::string& goal, double value, const Figure& figure, double limit) {
  summary.add({goal, Shown(value, figure), "<= " + Fixed(limit, 0) + " " + figure.unit, value <= limit});
}

std::string Pixels(QSize size) { return std::to_string(size.width()) + " x " + std::to_string(size.height()); }

std::string ViewportName(BenchWindow& window) { return "viewport " + Pixels(window.form().Picture2->size()); }

std::string SizeName(QSize size) {
  return Fixed(size.width() * double(size.height()) / 1e6, 0) + " MP map";
}

// A window holding the decoded test map of about `megapixels`, or nullptr when it cannot be made or loaded.
std::unique_ptr<BenchWindow> WindowWithMap(int megapixels) {
  const QSize size = MapSizeForMegapixels(megapixels);
  const std::optional<QString> path = CachedTestMap(size);
  if (!path) return nullptr;
  // Opened as the user opens it, so the window holds what it holds then (the preview as a reduced copy).
  auto window = std::make_unique<BenchWindow>();
  if (!window->open(*path) || !window->waitForWholeMap()) return nullptr;
  return window;
}

void BenchZoomOver(BenchWindow& window, double reference, GoalSummary& summary);

// In a window of its own, let go before the map is opened again for the other cases: two gigapixel maps at
// once would not fit the memory goal.
bool BenchFramesWhileDecoding(int megapixels, double reference, GoalSummary& summary) {
  const QSize size = MapSizeForMegapixels(megapixels);
  const std::optional<QString> path = CachedTestMap(size);
  if (!path) return false;
  BenchWindow window;
  const DecodingFrames measured = FramesWhileDecoding(window, *path);
  if (measured.frameMilliseconds.empty()) return false;
  const Figure frames{measured.frameMilliseconds, "ms", 2};
  const Figure mapping{measured.mappingMilliseconds, "ms", 3}, idle{measured.idleMappingMilliseconds, "ms", 3};
  const std::string where = SizeName(size) + ", " + ViewportName(window);
  PrintRow("frame while the map decodes, " + where, frames, reference, kFrameGoalMilliseconds);
  PrintRow("  a new 4 MiB mapping, no map decoding (reference)", idle, std::nullopt, 0);
  PrintRow("  the same while the map decodes", mapping, Median(idle.samples), 0);
  AddGoal(summary, "looking around while decoding, " + where + ": frame p95", Percentile(frames.samples, 0.95),
          frames, kFrameGoalMilliseconds);
  return true;
}

void BenchScrollingOver(BenchWindow& window, double reference, GoalSummary& summary) {
  const std::string size = SizeName(window.form().Picture1->picture().size());
  const std::string designViewport = ViewportName(window);
  const Figure design{ScrollFrameMilliseconds(window, kScrollPasses), "ms", 2};
  PrintRow("scroll frame, " + size + ", " + designViewport, design, reference, kFrameGoalMilliseconds);
  AddGoal(summary, "scrolling, " + size + ", " + designViewport + ": frame p95", Percentile(design.samples, 0.95),
          design, kFrameGoalMilliseconds);

  // The same on a large screen: the viewport grows with the window, and so does every frame.
  window.resizeClient(kLargeClient);
  const std::string largeViewport = ViewportName(window);
  const Figure large{ScrollFrameMilliseconds(window, kScrollPasses), "ms", 2};
  PrintRow("scroll frame, " + size + ", " + largeViewport, large, reference, kFrameGoalMilliseconds);
  AddGoal(summary, "scrolling, " + size + ", " + largeViewport + ": frame p95", Percentile(large.samples, 0.95),
          large, kFrameGoalMilliseconds);
  BenchZoomOver(window, reference, summary);
}

void BenchZoomOver(BenchWindow& window, double reference, GoalSummary& summary) {
  const std::string where = SizeName(window.form().Picture1->picture().size()) + ", " + ViewportName(window);
  const ZoomFrames frames = ZoomFrameMilliseconds(window, kScrollPasses);
  const Figure reduction{{frames.firstReductionMilliseconds}, "ms", 0};
  const Figure zoom{frames.zoomMilliseconds, "ms", 2}, pan{frames.panMilliseconds, "ms", 2};
  PrintRow("first zoom out, 1:1 to fit, all its steps, " + where, reduction, std::nullopt, 0);
  PrintRow("zoom frame, fit..16, " + where, zoom, reference, kFrameGoalMilliseconds);
  PrintRow("pan frame at every zoom, " + where, pan, reference, kFrameGoalMilliseconds);
  AddGoal(summary, "zooming, " + where + ": frame p95", Percentile(zoom.samples, 0.95), zoom, kFrameGoalMilliseconds);
  AddGoal(summary, "panning zoomed, " + where + ": frame p95", Percentile(pan.samples, 0.95), pan,
          kFrameGoalMilliseconds);
}

bool BenchPointsOver(BenchWindow& window, GoalSummary& summary) {
  const ui::MapCanvas& canvas = *window.form().Picture1;
  const auto core = CorePointTimings({canvas.widthTwips(), canvas.heightTwips()}, kPointRounds);
  const auto handlers = WindowPointTimings(window, kPointRounds, false);
  const auto painted = WindowPointTimings(window, kPointRounds, true);
  if (!core || !handlers || !painted) {
    std::printf("  capture and removal failed: a press did not add or remove exactly one point\n");
    return false;
  }
  const std::string size = SizeName(canvas.picture().size());
  const Figure coreCapture{core->captureMicroseconds, "us", 1}, coreRemoval{core->removalMicroseconds, "us", 1};
  const Figure capture{handlers->captureMicroseconds, "us", 1}, removal{handlers->removalMicroseconds, "us", 1};
  const Figure paintedCapture{painted->captureMicroseconds, "us", 1};
  const Figure paintedRemoval{painted->removalMicroseconds, "us", 1};
  PrintRow("core CapturePoint, 250th point (reference)", coreCapture, std::nullopt, 0);
  const CanvasSize canvasTwips{canvas.widthTwips(), canvas.heightTwips()};
  if (const auto modelled = CorePointTimings(canvasTwips, kPointRounds, PhotographModel(canvasTwips))) {
    const Figure modelCapture{modelled->captureMicroseconds, "us", 1};
    PrintRow("core CapturePoint through a projective model", modelCapture, Median(coreCapture.samples), kPointGoalMicroseconds);
    AddGoal(summary, "capture through a projective model (core), p95", Percentile(modelCapture.samples, 0.95), modelCapture,
            kPointGoalMicroseconds);
  }
  for (const auto& [model, name] : {std::pair{TransformModel::Helmert, "Helmert"}, {TransformModel::Affine, "affine"},
                                    {TransformModel::Projective, "projective"}}) {
    const Figure fit{FitMicroseconds(model, canvasTwips, kPointRounds), "us", 1};
    PrintRow(std::string("fit of 50 reference points, ") + name, fit, std::nullopt, kFitGoalMicroseconds);
    AddGoal(summary, std::string("fit of 50 points, ") + name + ", p95", Percentile(fit.samples, 0.95), fit, kFitGoalMicroseconds);
  }
  PrintRow("core Remove_Point, first of 250 (reference)", coreRemoval, std::nullopt, 0);
  PrintRow("Picture1_MouseDown, 250th point, journal on, " + size, capture, Median(coreCapture.samples), kPointGoalMicroseconds);
  PrintRow("Remove_Point, first of 250, journal on, " + size, removal, Median(coreRemoval.samples), kPointGoalMicroseconds);
  PrintRow("  the same, with the paint it causes: capture", paintedCapture, Median(coreCapture.samples),
           kPointGoalMicroseconds);
  PrintRow("  the same, with the paint it causes: removal", paintedRemoval, Median(coreRemoval.samples),
           kPointGoalMicroseconds);
  AddGoal(summary, "capture of the 250th point (handler, grid rows, journal), median", Median(capture.samples), capture,
          kPointGoalMicroseconds);
  AddGoal(summary, "removal with 250 points (handler, grid rows, journal), median", Median(removal.samples), removal,
          kPointGoalMicroseconds);
  return true;
}

}  // namespace

bool BenchWindowCases(const std::vector<int>& megapixels, WindowCaseChoice choice, GoalSummary& summary) {
  if ((!choice.scrolling && !choice.points) || megapixels.empty()) return true;
  PrintHeader("The window (Form1, offscreen platform): scrolling, capture and removal");
  std::optional<double> reference;
  if (choice.scrolling) {
    BenchWindow blank;  // the design canvas, 1245 x 1440 twips, as the window starts
    const Figure small{ScrollFrameMilliseconds(blank, kScrollPasses), "ms", 2};
    PrintRow("scroll frame, design canvas (reference), " + ViewportName(blank), small, std::nullopt,
             kFrameGoalMilliseconds);
    reference = Median(small.samples);
  }
  for (std::size_t i = 0; i < megapixels.size(); ++i) {
    const bool last = i + 1 == megapixels.size();
    if (!choice.scrolling && !last) continue;
    if (choice.scrolling && !BenchFramesWhileDecoding(megapixels[i], *reference, summary)) {
      std::printf("  the %d MP test map could not be made or opened\n", megapixels[i]);
      return false;
    }
    const std::unique_ptr<BenchWindow> window = WindowWithMap(megapixels[i]);
    if (!window) {
      std::printf("  the %d MP test map could not be made or loaded\n", megapixels[i]);
      return false;
    }
    // Points first, on the window as it opened: scrolling resizes it.
    if (choice.points && last && !BenchPointsOver(*window, summary)) return false;
    if (choice.scrolling) BenchScrollingOver(*window, *reference, summary);
  }
  return true;
}

bool BenchStartup(const std::string& probe, int runs, GoalSummary& summary) {
  PrintHeader("Start-up (velmaro_startup_probe, offscreen platform)");
  Figure toDialog{{}, "ms", 1}, toMain{{}, "ms", 1}, inside{{}, "ms", 1};
  if (!TimeStartup(probe, false) || !TimeStartup(probe, true)) {
    std::printf("  %s could not be run\n", probe.c_str());
    return false;
  }
  for (int run = 0; run < runs; ++run) {
    const auto full = TimeStartup(probe, false);
    const auto bare = TimeStartup(probe, true);
    if (!full || !bare) return false;
    toDialog.samples.push_back(full->milliseconds);
    inside.samples.push_back(full->insideMilliseconds);
    toMain.samples.push_back(bare->milliseconds);
  }
  PrintRow("process start to main() (reference)", toMain, std::nullopt, 0);
  PrintRow("  main() to the map dialog, timed inside", inside, std::nullopt, 0);
  PrintRow("process start to the map dialog requested", toDialog, Median(toMain.samples), kStartupGoalMilliseconds);
  AddGoal(summary, "start-up to the map dialog, median", Median(toDialog.samples), toDialog,
          kStartupGoalMilliseconds);
  return true;
}

}  // namespace velmaro::bench
