#pragma once
// A real Form1 on the scripted platform, with a picture put straight onto the canvas, for the window
// tests. Nothing here opens a modal dialog or starts a program.

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "platform/fake_platform.h"
#include "ui/form1.h"
#include "ui/map_loader.h"
#include "ui/map_viewport.h"
#include "ui/map_canvas.h"

namespace velmaro::testing {

// Opens a map as the window's own dialog does and waits until its rows are all decoded.
inline void OpenWhole(ui::Form1& form, const QString& path) {
  form.openMap(path.toStdString());
  form.mapLoader().waitForMap();
}

struct Form1Fixture {
  QTemporaryDir state;  // the recovery journals of this window alone
  const bool stateSet = qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  platform::FakePlatform platform;
  std::unique_ptr<ui::Form1> form = std::make_unique<ui::Form1>(platform);

  // A plain map of the given pixel size, so that twips are pixels times 15 at 96 dpi.
  void givePicture(int widthPixels, int heightPixels, QColor colour = QColor(250, 250, 240)) {
    QImage picture(widthPixels, heightPixels, QImage::Format_RGB32);
    picture.fill(colour);
    form->Picture1->setPicture(picture);
  }

  // A real mouse event on the canvas at a pixel position, `held` the buttons down with it. (QTest's own
  // press helpers take the point (0, 0) to mean the widget's centre, so the events are sent directly.)
  void mouse(QEvent::Type type, QPointF pixel, Qt::MouseButton button = Qt::NoButton, Qt::MouseButtons held = {}) {
    QMouseEvent event(type, pixel, form->Picture1->mapToGlobal(pixel), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(form->Picture1, &event);
  }

  // A real press and release.
  void pressCanvas(QPoint pixel, Qt::MouseButton button = Qt::LeftButton) {
    mouse(QEvent::MouseButtonPress, pixel, button, button);
    mouse(QEvent::MouseButtonRelease, pixel, button);
  }

  QColor canvasPixel(QPoint pixel) const { return form->Picture1->picture().pixelColor(pixel); }
};

}  // namespace velmaro::testing
