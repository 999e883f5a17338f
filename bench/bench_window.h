#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <chrono>
#include <memory>

#include "platform/fake_platform.h"
#include "ui/form1.h"
#include "ui/map_loader.h"
#include "ui/map_viewport.h"

namespace velmaro::bench {

// Makes sure this process has a QApplication, created on first call and kept to the end of the process.
// Unless QT_QPA_PLATFORM is already set, it runs on the offscreen platform, so no display is needed.
void EnsureApplication();

// The real window as the benchmarks drive it: Form1 on the scripted platform (no dialog ever shows), started
// as the program starts it (Form_Load, with the map dialog cancelled), shown at its design size with the Map
// tab in front. Calls EnsureApplication itself.
class BenchWindow {
 public:
  BenchWindow();
  ~BenchWindow();

  ui::Form1& form() { return *form_; }
  platform::FakePlatform& platform() { return platform_; }

  // Opens `path` the way the user does: the map dialog answers `path` and Select_File runs. True when the
  // canvas then has the picture's size.
  bool open(const QString& path);
  // After open: handles the window's events until the canvas shows the map's first decoded rows, or until
  // the map is whole. False when the decode failed.
  bool waitForFirstRows();
  bool waitForWholeMap();

  // Resizes the window's client area to `size` pixels; the viewport follows through Form_Resize.
  void resizeClient(QSize size);

 private:
  platform::FakePlatform platform_;
  std::unique_ptr<ui::Form1> form_;
};

// One frame as the user sees it, in milliseconds: `change`, then the whole viewport repainted at once with
// repaint() rather than only where the change exposed new pixels, then whatever the change left pending, so
// the time covers every pixel the frame shows. Painting ends in the window's backing store; showing it is
// the display server's copy.
template <typename Change>
double FrameMilliseconds(ui::Form1& form, Change change) {
  const auto start = std::chrono::steady_clock::now();
  change();
  form.Picture2->repaint();
  QCoreApplication::processEvents();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace velmaro::bench
