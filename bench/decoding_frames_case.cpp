#include "bench/decoding_frames_case.h"

#include <QScrollBar>

#include <chrono>
#include <cstddef>
#include <functional>

#include "bench/bench_window.h"
#include "ui/map_canvas.h"

#include <sys/mman.h>

namespace velmaro::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kMappingBytes = std::size_t{4} << 20;
constexpr int kIdleMappings = 200;

// mmap and munmap change the address space, so they wait while another thread holds its lock.
double TimeOneMapping() {
  const auto start = Clock::now();
  void* mapped = mmap(nullptr, kMappingBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped != MAP_FAILED) munmap(mapped, kMappingBytes);
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A bar to a far value, a zoom step out or back in, a pan: the user looking around a map as it arrives.
std::function<void()> NthChange(ui::Form1& form, int n) {
  QScrollBar& bar = n % 2 ? *form.HScroll1 : *form.VScroll1;
  switch (n % 4) {
    case 0:
    case 1: return [&bar, n] { bar.setValue(bar.minimum() + (n * 37) % (bar.maximum() - bar.minimum() + 1)); };
    case 2: return [&form, n] { form.viewport().zoomBy(n % 8 == 2 ? -1 : 1, form.viewport().centre()); };
    default: return [&form] { form.viewport().panBy({40, 40}); };
  }
}

}  // namespace

DecodingFrames FramesWhileDecoding(BenchWindow& window, const QString& path) {
  DecodingFrames result;
  for (int i = 0; i < kIdleMappings; ++i) result.idleMappingMilliseconds.push_back(TimeOneMapping());
  if (!window.open(path)) return {};
  ui::Form1& form = window.form();
  for (int n = 0; form.mapLoader().loading(); ++n) {
    result.frameMilliseconds.push_back(FrameMilliseconds(form, NthChange(form, n)));
    result.mappingMilliseconds.push_back(TimeOneMapping());
  }
  return result;
}

}  // namespace velmaro::bench
