#include "map_picture/memory_budget.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>

namespace velmaro::map_picture {
namespace {

// Leaves a fifth of the free memory to the rest of the system, so that opening a map never pushes the
// machine into swapping or into the out-of-memory killer.
constexpr std::int64_t kShareNumerator = 4;
constexpr std::int64_t kShareDenominator = 5;

std::optional<std::int64_t> ParseWholeNumber(const std::string& text) {
  std::int64_t value = 0;
  const char* begin = text.data();
  while (begin < text.data() + text.size() && *begin == ' ') ++begin;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  if (error != std::errc{} || end == begin) return std::nullopt;
  return value;
}

std::optional<std::int64_t> MemAvailableFromProc() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  const std::string key = "MemAvailable:";
  while (std::getline(meminfo, line)) {
    if (line.rfind(key, 0) != 0) continue;
    const auto kibibytes = ParseWholeNumber(line.substr(key.size()));
    if (!kibibytes) return std::nullopt;
    return *kibibytes * 1024;
  }
  return std::nullopt;
}

std::optional<std::int64_t> FreeFromSysconf() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return std::nullopt;
  return std::int64_t{pages} * pageSize;
}

std::optional<std::int64_t> ReadNumberFile(const char* path) {
  std::ifstream file(path);
  std::string text;
  if (!std::getline(file, text)) return std::nullopt;
  return ParseWholeNumber(text);  // "max" (no limit) does not parse and so gives no value
}

// Room under a cgroup v2 memory limit; a container may see the host's MemAvailable but be killed far earlier.
std::optional<std::int64_t> CgroupRoom() {
  const auto limit = ReadNumberFile("/sys/fs/cgroup/memory.max");
  const auto current = ReadNumberFile("/sys/fs/cgroup/memory.current");
  if (!limit || !current) return std::nullopt;
  return std::max<std::int64_t>(0, *limit - *current);
}

}  // namespace

std::int64_t PixelBytes(QSize size) {
  if (size.width() <= 0 || size.height() <= 0) return 0;
  return std::int64_t{size.width()} * size.height() * 4;
}

std::int64_t RgbBytes(QSize size) { return PixelBytes(size) / 4 * 3; }

std::optional<std::int64_t> AllocatableBytes() {
  auto available = MemAvailableFromProc();
  if (!available) available = FreeFromSysconf();
  if (const auto room = CgroupRoom()) available = available ? std::min(*available, *room) : *room;
  if (!available) return std::nullopt;
  return *available / kShareDenominator * kShareNumerator;
}

bool SidesInRange(QSize size) {
  return size.width() >= 1 && size.width() <= kMaxPictureSide && size.height() >= 1 &&
         size.height() <= kMaxPictureSide;
}

bool FitsBudget(QSize size, std::int64_t neededBytes, std::int64_t allocatableBytes) {
  return SidesInRange(size) && neededBytes >= 0 && neededBytes <= allocatableBytes;
}

bool FitsInMemory(QSize size, std::int64_t neededBytes) {
  const auto allocatable = AllocatableBytes();
  return allocatable && FitsBudget(size, neededBytes, *allocatable);
}

}  // namespace velmaro::map_picture
