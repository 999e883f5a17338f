// VELMARO: reads point coordinates off a scanned map.

#include <QApplication>

#include "platform/qt_platform.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // No display name: the desktop would append it to the window caption.
  QApplication::setApplicationName("velmaro");

  velmaro::platform::QtPlatform platform(nullptr, "VELMARO");
  velmaro::ui::Form1 form(platform);
  platform.setOwner(&form);
  form.Form_Load();
  return QApplication::exec();
}
