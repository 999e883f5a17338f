// VELMARO: reads point coordinates off a scanned map.

#include <QApplication>
#include <QStringList>
#include <optional>
#include <string>

#include "platform/qt_platform.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // No display name: the desktop would append it to the window caption.
  QApplication::setApplicationName("velmaro");

  velmaro::platform::QtPlatform platform(nullptr, "VELMARO");
  velmaro::ui::Form1 form(platform);
  platform.setOwner(&form);
  // "Open with" from the desktop hands over the map as the one argument.
  const QStringList arguments = QApplication::arguments();
  std::optional<std::string> startMap;
  if (arguments.size() > 1) startMap = arguments.at(1).toStdString();
  form.Form_Load(startMap);
  return QApplication::exec();
}
