#include "bench/load_cases.h"

#include "bench/bench_window.h"
#include "map_picture/map_decode.h"
#include "map_picture/map_picture_loader.h"

#include <turbojpeg.h>

#include <QFile>
#include <QProcess>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaro::bench {
namespace {

namespace mp = velmaro::map_picture;
using Clock = std::chrono::steady_clock;

// The preview box of the design window (Image1: 8805 x 6915 twips at 15 twips per pixel), in pixels.
constexpr QSize kPreviewBoxPixels{587, 461};

constexpr std::array<std::pair<LoadCase, std::string_view>, 9> kCaseNames{{
    {LoadCase::Djpeg, "djpeg"},
    {LoadCase::TurboDecode, "turbo-decode"},
    {LoadCase::FreshDecode, "fresh-decode"},
    {LoadCase::LoadFull, "load-full"},
    {LoadCase::DecodeBegun, "decode-begun"},
    {LoadCase::DecodeDone, "decode-done"},
    {LoadCase::SelectUsable, "select-usable"},
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

using TurboHandle = std::unique_ptr<void, int (*)(tjhandle)>;

// The settings the loader decodes a full picture with: 32-bit pixels, accurate transform, stop on a warning.
constexpr int kLoaderFlags = TJFLAG_ACCURATEDCT | TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

bool ReadHeader(tjhandle handle, const QByteArray& jpeg, int& width, int& height) {
  int subsampling = 0, colorspace = 0;
  const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
  return tjDecompressHeader3(handle, data, jpeg.size(), &width, &height, &subsampling, &colorspace) == 0;
}

bool DecodeInto(tjhandle handle, const QByteArray& jpeg, unsigned char* pixels, int width, int height) {
  const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
  return tjDecompress2(handle, data, jpeg.size(), pixels, width, 0, height, TJPF_BGRA, kLoaderFlags) == 0;
}

struct Buffer {
  std::unique_ptr<unsigned char, decltype(&std::free)> pixels{nullptr, std::free};
  int width = 0, height = 0;
};

Buffer NewBuffer(tjhandle handle, const QByteArray& jpeg) {
  Buffer buffer;
  if (!ReadHeader(handle, jpeg, buffer.width, buffer.height)) return buffer;
  buffer.pixels.reset(static_cast<unsigned char*>(std::malloc(std::size_t(buffer.width) * buffer.height * 4)));
  return buffer;
}

std::optional<QByteArray> ReadWhole(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

// libjpeg-turbo's decode alone: the bytes are in memory and every page of the destination is mapped before the
// clock starts, so the figure holds what the decoder does and nothing the kernel does.
std::optional<CaseResult> TimedTurboDecode(const QByteArray& jpeg);

// The old reference: the same decode into a freshly malloc'ed buffer. A buffer this large is a new mapping of
// 4 KiB pages (transparent huge pages only on request), so the decoder stops for a page fault, and the kernel
// zeroes a page, every 4 KiB it writes; on this virtual machine that costs more than the decode itself.
bool FreshDecode(const QByteArray& jpeg) {
  TurboHandle handle(tjInitDecompress(), tjDestroy);
  if (!handle) return false;
  const Buffer buffer = NewBuffer(handle.get(), jpeg);
  return buffer.pixels && DecodeInto(handle.get(), jpeg, buffer.pixels.get(), buffer.width, buffer.height);
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

std::optional<CaseResult> TimedTurboDecode(const QByteArray& jpeg) {
  TurboHandle handle(tjInitDecompress(), tjDestroy);
  if (!handle) return std::nullopt;
  const Buffer buffer = NewBuffer(handle.get(), jpeg);
  if (!buffer.pixels) return std::nullopt;
  std::memset(buffer.pixels.get(), 0, std::size_t(buffer.width) * buffer.height * 4);
  return Timed([&] { return DecodeInto(handle.get(), jpeg, buffer.pixels.get(), buffer.width, buffer.height); });
}

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec * 1e-6; }

// djpeg as a bare process: spawned, waited for, and charged its own wall time, processor time and peak.
std::optional<CaseResult> RunDjpeg(const QString& path) {
  const std::string file = path.toStdString();
  std::array<char*, 5> argv{const_cast<char*>("djpeg"), const_cast<char*>("-outfile"),
                            const_cast<char*>("/dev/null"), const_cast<char*>(file.c_str()), nullptr};
  const auto start = Clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, "djpeg", nullptr, nullptr, argv.data(), environ) != 0) return std::nullopt;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return std::nullopt;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return CaseResult{seconds, Seconds(usage.ru_utime) + Seconds(usage.ru_stime), std::int64_t{usage.ru_maxrss} * 1024};
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
    case LoadCase::Djpeg: return RunDjpeg(path);
    case LoadCase::TurboDecode: {
      const auto jpeg = ReadWhole(path);
      return jpeg ? TimedTurboDecode(*jpeg) : std::nullopt;
    }
    case LoadCase::FreshDecode: {
      const auto jpeg = ReadWhole(path);
      if (!jpeg) return std::nullopt;
      return Timed([&] { return FreshDecode(*jpeg); });
    }
    case LoadCase::LoadFull: return Timed([&] { return mp::LoadFull(path); });
    case LoadCase::DecodeBegun:
    case LoadCase::DecodeDone: {
      std::unique_ptr<mp::MapDecode> decode;
      QImage picture, preview;  // held, as the window holds them
      const auto result = Timed([&] {
        if (mp::MapDecode::Begin(path, box, decode) != mp::MapDecode::Beginning::Begun) return false;
        picture = decode->takePicture();
        preview = decode->takePreview();
        if (loadCase == LoadCase::DecodeBegun) return true;
        decode->wait();
        return decode->state() == mp::MapDecode::State::Decoded;
      });
      if (decode) decode->wait();  // a begun decode is let finish outside the clock
      return result;
    }
    case LoadCase::SelectUsable: {
      BenchWindow window;  // the window is up and waiting when the user picks a map
      const auto result = Timed([&] { return window.open(path) && window.waitForFirstRows(); });
      window.form().mapLoader().waitForMap();
      return result;
    }
    case LoadCase::SelectFile: {
      BenchWindow window;
      return Timed([&] { return window.open(path) && window.waitForWholeMap(); });
    }
    case LoadCase::SelectFileAgain: {
      BenchWindow window;
      if (!window.open(path) || !window.waitForWholeMap()) return std::nullopt;
      return Timed([&] { return window.open(path) && window.waitForWholeMap(); });
    }
  }
  return std::nullopt;
}

std::optional<CaseResult> RunCaseInChild(const QString& program, LoadCase loadCase, const QString& path) {
  if (loadCase == LoadCase::Djpeg) return RunDjpeg(path);
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
