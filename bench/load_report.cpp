#include "bench/load_report.h"

#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/load_cases.h"
#include "bench/stats.h"
#include "bench/summary.h"
#include "bench/test_map.h"
#include "map_picture/memory_budget.h"

namespace velmaro::bench {
namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kOpenGoal = 1.1;
constexpr double kBandedGoal = 0.65;  // a map with restart markers, decoded on both cores
constexpr double kPreviewGoal = 0.4;
constexpr double kPeakFactorGoal = 0.8;
constexpr double kReferenceAgreement = 0.1;  // the direct decode must be within 10 % of djpeg to stand for it
constexpr double kPeakAllowanceBytes = 120.0 * 1000 * 1000;

struct CaseMedian {
  double seconds = 0;
  double cpuSeconds = 0;
  double peakBytes = 0;
};

std::optional<CaseMedian> MeasureMedian(const QString& program, LoadCase loadCase, const QString& path, int repeat) {
  std::vector<double> seconds, cpuSeconds, peaks;
  for (int i = 0; i < repeat; ++i) {
    const auto result = RunCaseInChild(program, loadCase, path);
    if (!result) return std::nullopt;
    seconds.push_back(result->seconds);
    cpuSeconds.push_back(result->cpuSeconds);
    peaks.push_back(static_cast<double>(result->peakBytes));
  }
  return CaseMedian{Median(seconds), Median(cpuSeconds), Median(peaks)};
}

// Which goal a row is held against, and whether it stands for that goal in the summary.
enum class TimeGoal { None, Open, Preview, Banded };

struct Row {
  LoadCase loadCase;
  const char* label;
  TimeGoal timeGoal;
  bool peakGoal;
  const char* summaryName;  // how the summary names the row; nullptr for a row that answers no goal there
};

constexpr std::array<Row, 9> kRows{{
    {LoadCase::Djpeg, "djpeg to /dev/null (reference)", TimeGoal::None, false, nullptr},
    {LoadCase::TurboDecode, "TurboJPEG decode, pages touched", TimeGoal::None, false, nullptr},
    {LoadCase::FreshDecode, "  into fresh malloc (old reference)", TimeGoal::None, false, nullptr},
    {LoadCase::LoadFull, "LoadFull (at once, one thread)", TimeGoal::None, true, nullptr},
    {LoadCase::DecodeBegun, "MapDecode::Begin (decode begun)", TimeGoal::None, false, nullptr},
    {LoadCase::DecodeDone, "MapDecode, whole map and preview", TimeGoal::Open, true, "MapDecode"},
    {LoadCase::SelectUsable, "Select_File, first rows shown", TimeGoal::Preview, false, "Select_File, first rows"},
    {LoadCase::SelectFile, "Select_File, fully loaded", TimeGoal::Open, true, "Select_File, first map"},
    {LoadCase::SelectFileAgain, "  the same, over an open map", TimeGoal::Open, true, "Select_File, map over a map"},
}};

// The same map with a restart marker after every MCU row: the cases that show the bands decoded on both cores.
constexpr std::array<Row, 3> kRestartRows{{
    {LoadCase::Djpeg, "djpeg to /dev/null (reference)", TimeGoal::None, false, nullptr},
    {LoadCase::DecodeDone, "MapDecode, whole map and preview", TimeGoal::Banded, true, "MapDecode, restart markers"},
    {LoadCase::SelectFile, "Select_File, fully loaded", TimeGoal::Banded, true, "Select_File, restart markers"},
}};

double TimeLimit(TimeGoal goal) {
  switch (goal) {
    case TimeGoal::Open: return kOpenGoal;
    case TimeGoal::Preview: return kPreviewGoal;
    case TimeGoal::Banded: return kBandedGoal;
    case TimeGoal::None: return 0;
  }
  return 0;
}

constexpr const char* kRowFormat = "  %-36s %7s %6s %7s %6s  %-14s %8s %6s  %s\n";

// The goals are judged on wall time: the window's decode uses both cores, so its processor time adds up the
// threads and says nothing of how long the user waits. On a shared machine wall time also measures the
// neighbours; the medians and the reference taken in the same run keep the ratio honest.
void PrintRow(const Row& row, const CaseMedian& median, const CaseMedian& reference, double rawBytes) {
  const double ratio = median.seconds / reference.seconds;
  std::string timeGoal = "-";
  if (row.timeGoal != TimeGoal::None) {
    timeGoal = "<= " + Fixed(TimeLimit(row.timeGoal), 2) + " " + Verdict(ratio <= TimeLimit(row.timeGoal));
  }
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

void Summarise(const Row& row, const CaseMedian& median, const CaseMedian& reference, double rawBytes,
               const std::string& sizeName, GoalSummary& summary) {
  if (row.summaryName == nullptr) return;
  if (row.timeGoal != TimeGoal::None) {
    const double ratio = median.seconds / reference.seconds;
    const std::string what = row.timeGoal == TimeGoal::Preview ? "usable at once, " : "fully loaded, ";
    summary.add({what + sizeName + ", " + row.summaryName + ": wall x djpeg", Fixed(ratio, 2) + " x",
                 "<= " + Fixed(TimeLimit(row.timeGoal), 2) + " x", ratio <= TimeLimit(row.timeGoal)});
  }
  if (row.peakGoal) {
    const double limit = kPeakFactorGoal * rawBytes + kPeakAllowanceBytes;
    summary.add({"peak memory, " + sizeName + ", " + row.summaryName,
                 Fixed(median.peakBytes / kMebibyte, 0) + " MiB", "<= " + Fixed(limit / kMebibyte, 0) + " MiB",
                 median.peakBytes <= limit});
  }
}

// The direct decode stands for djpeg only when the two agree; the summary says whether they do.
void SummariseAgreement(const CaseMedian& direct, const CaseMedian& djpeg, const std::string& sizeName,
                        GoalSummary& summary) {
  const double ratio = direct.cpuSeconds / djpeg.cpuSeconds;
  summary.add({"reference, " + sizeName + ": TurboJPEG decode cpu x djpeg", Fixed(ratio, 2) + " x",
               Fixed(1 - kReferenceAgreement, 2) + "-" + Fixed(1 + kReferenceAgreement, 2) + " x",
               ratio >= 1 - kReferenceAgreement && ratio <= 1 + kReferenceAgreement});
}

// Made in a child: the peak resident memory that wait4 reports for djpeg is the larger of its own and this
// process's at the moment it was spawned (the kernel carries it over the exec), and painting a gigapixel test
// map here would make this process several GB at its peak.
std::optional<QString> TestMapMadeInChild(const QString& program, QSize size) {
  QProcess child;
  child.start(program, {"--make-map", QString::number(size.width()), QString::number(size.height())});
  if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
    return std::nullopt;
  }
  return CachedTestMap(size);
}

// One table: each row's case `repeat` times on `path`, beside the first row (djpeg on the same file).
template <std::size_t Count>
bool PrintTable(const QString& program, const QString& path, const std::array<Row, Count>& rows, int repeat,
                double rawBytes, const std::string& sizeName, GoalSummary& summary) {
  std::printf(kRowFormat, "case", "wall s", "x ref", "cpu s", "x ref", "goal (wall)", "peak MiB", "x raw",
              "peak goal MiB (0.8 x raw + 120 MB)");
  std::optional<CaseMedian> reference;
  for (const Row& row : rows) {
    const auto median = MeasureMedian(program, row.loadCase, path, repeat);
    if (!median) {
      std::printf("  %-36s failed\n", row.label);
      return false;
    }
    if (!reference) reference = *median;
    if (row.loadCase == LoadCase::TurboDecode) SummariseAgreement(*median, *reference, sizeName, summary);
    PrintRow(row, *median, *reference, rawBytes);
    Summarise(row, *median, *reference, rawBytes, sizeName, summary);
    std::fflush(stdout);
  }
  return true;
}

}  // namespace

bool BenchLoading(const QString& program, int megapixels, int repeat, GoalSummary& summary) {
  const QSize size = MapSizeForMegapixels(megapixels);
  std::printf("Preparing a %d x %d test map...\n", size.width(), size.height());
  std::fflush(stdout);
  const auto path = TestMapMadeInChild(program, size);
  if (!path) return false;
  const double rawBytes = static_cast<double>(velmaro::map_picture::PixelBytes(size));
  const std::string sizeName = Fixed(size.width() * double(size.height()) / 1e6, 0) + " MP";
  std::printf("\nOpening a map %d x %d (%s MP), JPEG q90 4:2:0 %s MB, raw pixels %s MB, median of %d runs\n",
              size.width(), size.height(), Fixed(size.width() * double(size.height()) / 1e6, 1).c_str(),
              Fixed(QFileInfo(*path).size() / kMebibyte, 1).c_str(), Fixed(rawBytes / kMebibyte, 0).c_str(), repeat);
  if (!PrintTable(program, *path, kRows, repeat, rawBytes, sizeName, summary)) return false;
  const auto restart = CachedRestartMap(*path);
  if (!restart) return false;
  std::printf("\nThe same map with a restart marker after every MCU row (jpegtran -restart 1), %s MB\n",
              Fixed(QFileInfo(*restart).size() / kMebibyte, 1).c_str());
  return PrintTable(program, *restart, kRestartRows, repeat, rawBytes, sizeName, summary);
}

}  // namespace velmaro::bench
