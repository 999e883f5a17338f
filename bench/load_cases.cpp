#include "bench/load_cases.h"

#include "bench/bench_window.h"
#include "bench/one_decode_load.h"
#include "ui/map_picture/map_picture_loader.h"

#include <turbojpeg.h>

#include <QFile>
#include <QProcess>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

namespace velmaro::bench {
namespace {

namespace mp = velmaro::map_picture;
using Clock = std::chrono::steady_clock;

constexpr std::array<std::pair<LoadCase, std::string_view>, 7> kCaseNames{{
    {LoadCase::RawDecode, "raw-decode"},
    {LoadCase::LoadFull, "load-full"},
    {LoadCase::LoadPreview, "load-preview"},
    {LoadCase::LoadMapPicture, "load-map-picture"},
    {LoadCase::PreviewThenFull, "preview-then-full"},
    {LoadCase::SelectFile, "select-file"},
    {LoadCase::SelectFileAgain, "select-file-again"},
}};

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return std::nullopt;
  return value;
}

std::int64_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) != 0) continue;
    const auto start = line.find_first_not_of(" \t", 6);
    if (start == std::string::npos) return 0;
    const auto kibibytes = ParseInteger(std::string_view(line).substr(start));
    return kibibytes ? *kibibytes * 1024 : 0;
  }
  return 0;
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The reference: what libjpeg-turbo alone needs to turn the compressed bytes into 32-bit pixels, with the same
// fresh allocation (and its page faults) that any real load pays.
bool RawDecode(const QByteArray& jpeg) {
  std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitDecompress(), tjDestroy);
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
  if (!handle || tjDecompressHeader3(handle.get(), data, jpeg.size(), &width, &height, &subsampling,
                                     &colorspace) != 0) {
    return false;
  }
  std::unique_ptr<unsigned char, decltype(&std::free)> pixels(
      static_cast<unsigned char*>(std::malloc(std::size_t(width) * height * 4)), std::free);
  return pixels && tjDecompress2(handle.get(), data, jpeg.size(), pixels.get(), width, 0, height, TJPF_BGRA, 0) == 0;
}

// Runs one case and takes the peak while its result is still alive, as it would be in the window.
template <typename Operation>
std::optional<CaseResult> Timed(Operation operation) {
  const auto start = Clock::now();
  const double cpuStart = ProcessCpuSeconds();
  const auto result = operation();
  const double cpuSeconds = ProcessCpuSeconds() - cpuStart;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!result) return std::nullopt;
  return CaseResult{seconds, cpuSeconds, PeakResidentBytes()};
}

std::string FormatSeconds(double seconds) {
  std::array<char, 64> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), seconds);
  return error == std::errc{} ? std::string(text.data(), end) : std::string("0");
}

std::optional<double> ParseSeconds(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return std::nullopt;
  return value;
}

}  // namespace

std::string_view CaseName(LoadCase loadCase) {
  for (const auto& [known, name] : kCaseNames) {
    if (known == loadCase) return name;
  }
  return {};
}

std::optional<LoadCase> CaseFromName(std::string_view name) {
  for (const auto& [known, knownName] : kCaseNames) {
    if (knownName == name) return known;
  }
  return std::nullopt;
}

std::optional<CaseResult> RunCaseHere(LoadCase loadCase, const QString& path) {
  const QSize box = kPreviewBoxPixels;
  switch (loadCase) {
    case LoadCase::RawDecode: {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
      const QByteArray jpeg = file.readAll();
      return Timed([&] { return RawDecode(jpeg); });
    }
    case LoadCase::LoadFull: return Timed([&] { return mp::LoadFull(path); });
    case LoadCase::LoadPreview: return Timed([&] { return mp::LoadPreview(path, box); });
    case LoadCase::LoadMapPicture: return Timed([&] { return LoadMapPicture(path, box); });
    case LoadCase::PreviewThenFull:
      return Timed([&] {
        const std::optional<QImage> preview = mp::LoadPreview(path, box);
        return preview && mp::LoadFull(path);  // the preview stays alive, as it stays on screen
      });
    case LoadCase::SelectFile: {
      BenchWindow window;  // the window is up and waiting when the user picks a map
      return Timed([&] { return window.open(path); });
    }
    case LoadCase::SelectFileAgain: {
      BenchWindow window;
      if (!window.open(path)) return std::nullopt;
      return Timed([&] { return window.open(path); });
    }
  }
  return std::nullopt;
}

std::optional<CaseResult> RunCaseInChild(const QString& program, LoadCase loadCase, const QString& path) {
  QProcess child;
  child.start(program, {"--child", QString::fromUtf8(CaseName(loadCase).data()), path});
  if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
    return std::nullopt;
  }
  const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
  if (fields.size() != 3) return std::nullopt;
  const auto seconds = ParseSeconds(fields[0].toStdString());
  const auto cpuSeconds = ParseSeconds(fields[1].toStdString());
  const auto peak = ParseInteger(fields[2].toStdString());
  if (!seconds || !cpuSeconds || !peak) return std::nullopt;
  return CaseResult{*seconds, *cpuSeconds, *peak};
}

int ChildMain(std::string_view caseName, const QString& path) {
  const auto loadCase = CaseFromName(caseName);
  if (!loadCase) return 2;
  const auto result = RunCaseHere(*loadCase, path);
  if (!result) return 1;
  std::printf("%s %s %lld\n", FormatSeconds(result->seconds).c_str(), FormatSeconds(result->cpuSeconds).c_str(),
              static_cast<long long>(result->peakBytes));
  return 0;
}

}  // namespace velmaro::bench
