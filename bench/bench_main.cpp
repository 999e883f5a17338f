// velmaro_bench: how fast and in how much memory a map opens, how smoothly it scrolls, how quickly a point is
// captured or removed, and how soon the program is up, each beside a reference and the goal.
//
//   velmaro_bench [--sizes 72,300] [--repeat 5] [--cases load,scroll,capture,startup]
//
// Sizes are in megapixels (default 4,16 for a quick look). Test maps are made once and kept in the temporary
// folder. Every load measurement runs in a fresh child process, `--repeat` times; the window cases run the
// real Form1 on the offscreen platform in this process; start-up starts velmaro_startup_probe, found beside
// this program. Tables show medians; a last table lists every goal. Figures are printed, never judged by the
// exit code: a slow machine does not fail anything.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "bench/bench_window.h"
#include "bench/load_cases.h"
#include "bench/load_report.h"
#include "bench/summary.h"
#include "bench/test_map.h"
#include "bench/window_report.h"

namespace {

constexpr int kStartupRunsPerRepeat = 2;

struct Cases {
  bool load = true;
  bool scroll = true;
  bool capture = true;
  bool startup = true;
};

struct Options {
  std::vector<int> megapixels{4, 16};
  int repeat = 5;
  Cases cases;
};

std::optional<Cases> ParseCases(const QString& list) {
  Cases cases{false, false, false, false};
  for (const QString& name : list.split(',')) {
    if (name == "load") cases.load = true;
    else if (name == "scroll") cases.scroll = true;
    else if (name == "capture") cases.capture = true;
    else if (name == "startup") cases.startup = true;
    else return std::nullopt;
  }
  return cases;
}

// Plain digits only: QString::toInt uses no locale.
std::optional<int> PositiveNumber(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value <= 0) return std::nullopt;
  return value;
}

bool ApplyOption(const QString& name, const QString& value, Options& options) {
  if (name == "--sizes") {
    options.megapixels.clear();
    for (const QString& part : value.split(',')) {
      const auto megapixels = PositiveNumber(part);
      if (!megapixels) return false;
      options.megapixels.push_back(*megapixels);
    }
    return true;
  }
  if (name == "--repeat") {
    const auto repeat = PositiveNumber(value);
    if (repeat) options.repeat = *repeat;
    return repeat.has_value();
  }
  if (name == "--cases") {
    const auto cases = ParseCases(value);
    if (cases) options.cases = *cases;
    return cases.has_value();
  }
  return false;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  if (argc % 2 == 0) return std::nullopt;
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!ApplyOption(QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1]), options)) {
      return std::nullopt;
    }
  }
  return options;
}

bool RunAll(const Options& options) {
  using namespace velmaro::bench;
  const QString program = QCoreApplication::applicationFilePath();
  GoalSummary summary;
  bool allRan = true;
  // Start-up first, while this process is still small and the machine's caches hold the least of ours.
  if (options.cases.startup) {
    const QString probe = QDir(QCoreApplication::applicationDirPath()).filePath("velmaro_startup_probe");
    allRan = BenchStartup(probe.toStdString(), kStartupRunsPerRepeat * options.repeat + 1, summary) && allRan;
  }
  if (options.cases.load) {
    for (const int megapixels : options.megapixels) {
      allRan = BenchLoading(program, megapixels, options.repeat, summary) && allRan;
    }
  }
  allRan = BenchWindowCases(options.megapixels, {options.cases.scroll, options.cases.capture}, summary) && allRan;
  summary.print();
  return allRan;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string_view(argv[1]) == "--child") {
    return velmaro::bench::ChildMain(argv[2], QString::fromLocal8Bit(argv[3]));
  }
  if (argc == 4 && std::string_view(argv[1]) == "--make-map") {
    const auto width = PositiveNumber(QString::fromLocal8Bit(argv[2]));
    const auto height = PositiveNumber(QString::fromLocal8Bit(argv[3]));
    if (!width || !height) return 2;
    return velmaro::bench::CachedTestMap({*width, *height}) ? 0 : 1;
  }
  const auto options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: velmaro_bench [--sizes 72,300] [--repeat 5] [--cases load,scroll,capture,startup]\n");
    return 2;
  }
  // The measured windows keep their recovery journals in a folder of their own, and none of the user's
  // journals is offered to a window started here.
  const QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  // The window cases need a QApplication; the load cases run in children that make their own.
  velmaro::bench::EnsureApplication();
  return RunAll(*options) ? 0 : 1;
}
