#include "bench/scroll_case.h"

#include <QScrollBar>

#include "bench/bench_window.h"

namespace velmaro::bench {
namespace {

// Every value up and back down: the thumb dragged end to end and back.
std::vector<int> DragPath(int minimum, int maximum) {
  std::vector<int> values;
  for (int value = minimum; value <= maximum; ++value) values.push_back(value);
  for (int value = maximum; value >= minimum; --value) values.push_back(value);
  return values;
}

// Far jumps, so that no frame can reuse much of the last one's pixels.
std::vector<int> JumpPath(int minimum, int maximum) {
  std::vector<int> values;
  const int span = maximum - minimum;
  for (int step = 0; step <= span; ++step) values.push_back(minimum + (step * 37) % (span + 1));
  return values;
}

void RunPath(ui::Form1& form, QScrollBar& bar, const std::vector<int>& path, std::vector<double>& frames) {
  for (const int value : path) frames.push_back(FrameMilliseconds(form, [&] { bar.setValue(value); }));
}

}  // namespace

std::vector<double> ScrollFrameMilliseconds(BenchWindow& window, int passes) {
  ui::Form1& form = window.form();
  std::vector<double> frames;
  for (int pass = 0; pass < passes; ++pass) {
    for (QScrollBar* bar : {form.HScroll1, form.VScroll1}) {
      RunPath(form, *bar, DragPath(bar->minimum(), bar->maximum()), frames);
      RunPath(form, *bar, JumpPath(bar->minimum(), bar->maximum()), frames);
    }
  }
  return frames;
}

}  // namespace velmaro::bench
