#include "bench/zoom_case.h"

#include "bench/bench_window.h"
#include "ui/map_canvas.h"

namespace velmaro::bench {
namespace {

constexpr int kPansPerZoom = 12;
constexpr int kPanPixels = 40;

void PanAround(ui::Form1& form, std::vector<double>& frames) {
  const QPoint moves[] = {{-kPanPixels, 0}, {0, -kPanPixels}, {kPanPixels, 0}, {0, kPanPixels}};
  for (int pan = 0; pan < kPansPerZoom; ++pan)
    frames.push_back(FrameMilliseconds(form, [&] { form.viewport().panBy(moves[pan % 4]); }));
}

}  // namespace

ZoomFrames ZoomFrameMilliseconds(BenchWindow& window, int passes) {
  ui::Form1& form = window.form();
  ZoomFrames frames;
  const auto step = [&](int direction) {
    frames.zoomMilliseconds.push_back(FrameMilliseconds(form, [&] { form.viewport().zoomBy(direction, form.viewport().centre()); }));
    PanAround(form, frames.panMilliseconds);
  };
  form.viewport().zoomToOneToOne(form.viewport().centre());
  // The first way down, all its steps together: any copy the canvas still had to make would show here.
  frames.firstReductionMilliseconds = FrameMilliseconds(form, [&] {
    for (double before = 0; form.Picture1->zoom() != before;) {
      before = form.Picture1->zoom();
      form.viewport().zoomBy(-1, form.viewport().centre());
      form.Picture2->repaint();
    }
  });
  form.viewport().zoomToOneToOne(form.viewport().centre());
  for (int pass = 0; pass < passes; ++pass) {
    // Down to the fit, up to 16, back to 1:1.
    for (const int direction : {-1, 1}) {
      double before = 0;
      while (form.Picture1->zoom() != before) {
        before = form.Picture1->zoom();
        step(direction);
      }
    }
    while (form.Picture1->zoom() > 1.0) step(-1);
  }
  return frames;
}

}  // namespace velmaro::bench
