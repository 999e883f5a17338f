// velmaro_bench: how fast and in how much memory a map picture opens, beside libjpeg-turbo's own decode.
//
//   velmaro_bench [--sizes 72,300] [--repeat 5]
//
// Sizes are in megapixels (default 4,16 for a quick look). Test maps are made once and kept in the temporary
// folder. Every measurement runs in a fresh child process, `--repeat` times; the table shows medians. Figures
// are printed, never judged: a slow machine does not fail anything.
#include "bench/load_cases.h"
#include "bench/test_map.h"
#include "ui/map_picture/memory_budget.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using velmaro::bench::LoadCase;

constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kOpenGoal = 1.3;
constexpr double kPreviewGoal = 0.3;
constexpr double kPeakFactorGoal = 1.15;
constexpr double kPeakAllowanceBytes = 120.0 * 1000 * 1000;

struct Options {
  std::vector<int> megapixels{4, 16};
  int repeat = 5;
};

std::string Fixed(double value, int decimals) {
  std::array<char, 64> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
  return error == std::errc{} ? std::string(text.data(), end) : std::string("?");
}

std::optional<Options> ParseOptions(const QStringList& arguments) {
  Options options;
  for (int i = 1; i + 1 < arguments.size(); i += 2) {
    bool ok = true;
    if (arguments[i] == "--sizes") {
      options.megapixels.clear();
      for (const QString& part : arguments[i + 1].split(',')) {
        const int value = part.toInt(&ok);  // plain digits only: no locale is involved
        if (!ok || value <= 0) return std::nullopt;
        options.megapixels.push_back(value);
      }
    } else if (arguments[i] == "--repeat") {
      options.repeat = arguments[i + 1].toInt(&ok);
      if (!ok || options.repeat <= 0) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (arguments.size() % 2 == 0) return std::nullopt;
  return options;
}

struct Median {
  double seconds = 0;
  double cpuSeconds = 0;
  double peakBytes = 0;
};

std::optional<Median> MeasureMedian(const QString& program, LoadCase loadCase, const QString& path, int repeat) {
  std::vector<double> seconds, cpuSeconds, peaks;
  for (int i = 0; i < repeat; ++i) {
    const auto result = velmaro::bench::RunCaseInChild(program, loadCase, path);
    if (!result) return std::nullopt;
    seconds.push_back(result->seconds);
    cpuSeconds.push_back(result->cpuSeconds);
    peaks.push_back(static_cast<double>(result->peakBytes));
  }
  const auto middle = [](std::vector<double>& values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  return Median{middle(seconds), middle(cpuSeconds), middle(peaks)};
}

struct Row {
  LoadCase loadCase;
  const char* label;
  double timeGoal;  // ratio to the reference decode; 0 for none
  bool peakGoal;
};

constexpr std::array<Row, 4> kRows{{
    {LoadCase::RawDecode, "libjpeg-turbo decode (reference)", 0, false},
    {LoadCase::LoadFull, "LoadFull", 0, false},
    {LoadCase::LoadPreview, "LoadPreview", kPreviewGoal, false},
    {LoadCase::LoadMapPicture, "LoadMapPicture (open a map)", kOpenGoal, true},
}};

std::string Verdict(bool met) { return met ? "met" : "MISSED"; }

constexpr const char* kRowFormat = "  %-34s %7s %6s %7s %6s  %-14s %8s %6s  %s\n";

// The goals are judged on processor time: the load is single-threaded, so on an idle machine wall time equals
// it, while on a shared machine wall time mostly measures the neighbours.
void PrintRow(const Row& row, const Median& median, const Median& reference, double rawBytes) {
  const double ratio = median.cpuSeconds / reference.cpuSeconds;
  std::string timeGoal = "-";
  if (row.timeGoal > 0) timeGoal = "<= " + Fixed(row.timeGoal, 2) + " " + Verdict(ratio <= row.timeGoal);
  std::string peakGoal = "-";
  if (row.peakGoal) {
    const double limit = kPeakFactorGoal * rawBytes + kPeakAllowanceBytes;
    peakGoal = "<= " + Fixed(limit / kMebibyte, 0) + " " + Verdict(median.peakBytes <= limit);
  }
  const double wallRatio = median.seconds / reference.seconds;
  std::printf(kRowFormat, row.label, Fixed(median.seconds, 3).c_str(), Fixed(wallRatio, 2).c_str(),
              Fixed(median.cpuSeconds, 3).c_str(), Fixed(ratio, 2).c_str(), timeGoal.c_str(),
              Fixed(median.peakBytes / kMebibyte, 0).c_str(), Fixed(median.peakBytes / rawBytes, 2).c_str(),
              peakGoal.c_str());
}

bool BenchOneSize(const QString& program, int megapixels, int repeat) {
  const QSize size = velmaro::bench::MapSizeForMegapixels(megapixels);
  std::printf("Preparing a %d x %d test map...\n", size.width(), size.height());
  std::fflush(stdout);
  const auto path = velmaro::bench::CachedTestMap(size);
  if (!path) return false;
  const double rawBytes = static_cast<double>(velmaro::map_picture::PixelBytes(size));
  std::printf("\nMap %d x %d (%s MP), JPEG q90 4:2:0 %s MB, raw pixels %s MB, median of %d runs\n", size.width(),
              size.height(), Fixed(size.width() * double(size.height()) / 1e6, 1).c_str(),
              Fixed(QFileInfo(*path).size() / kMebibyte, 1).c_str(), Fixed(rawBytes / kMebibyte, 0).c_str(), repeat);
  std::printf(kRowFormat, "case", "wall s", "x ref", "cpu s", "x ref", "goal (cpu)", "peak MiB", "x raw",
              "peak goal MiB (1.15 x raw + 120 MB)");
  std::optional<Median> reference;
  for (const Row& row : kRows) {
    const auto median = MeasureMedian(program, row.loadCase, *path, repeat);
    if (!median) {
      std::printf("  %-34s failed\n", row.label);
      return false;
    }
    if (!reference) reference = *median;
    PrintRow(row, *median, *reference, rawBytes);
    std::fflush(stdout);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string_view(argv[1]) == "--child") {
    return velmaro::bench::ChildMain(argv[2], QString::fromLocal8Bit(argv[3]));
  }
  QCoreApplication app(argc, argv);
  const auto options = ParseOptions(app.arguments());
  if (!options) {
    std::fprintf(stderr, "usage: velmaro_bench [--sizes 72,300] [--repeat 5]\n");
    return 2;
  }
  bool allRan = true;
  for (const int megapixels : options->megapixels) {
    allRan = BenchOneSize(QCoreApplication::applicationFilePath(), megapixels, options->repeat) && allRan;
  }
  return allRan ? 0 : 1;
}
