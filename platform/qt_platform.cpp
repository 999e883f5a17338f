#include "platform/qt_platform.h"

#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/project_version.h"
#include "platform/shell_open.h"

namespace velmaro::platform {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon messageBoxIcon(Icon icon) {
  switch (icon) {
    case Icon::Stop: return QMessageBox::Critical;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

void setButtons(QMessageBox& box, Buttons buttons) {
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
}

Answer answerOf(const QMessageBox& box, Buttons buttons) {
  if (buttons == Buttons::Ok) return Answer::Ok;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

void configureForMode(QFileDialog& dialog, DialogMode mode) {
  dialog.setFileMode(QFileDialog::AnyFile);
  if (mode == DialogMode::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
  }
}

// The program keeps no settings, but Qt's file dialog stores its folder, history and layout in a "QtProject"
// file of the user's configuration folder when it closes. The user scope of QSettings therefore points at a
// private folder that is removed when the process ends (or, should none be made, at a path below a device
// file, where nothing can be created); within one run the dialog still remembers where it was.
void keepSettingsPrivate() {
  static const QTemporaryDir folder;
  const QString path = folder.isValid() ? folder.path() : QStringLiteral("/dev/null");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

}  // namespace

QtPlatform::QtPlatform(QWidget* owner, std::string applicationTitle)
    : owner_(owner), applicationTitle_(std::move(applicationTitle)) {
  keepSettingsPrivate();
}

Answer QtPlatform::showMessage(const Message& message) {
  QMessageBox box(owner_);
  box.setTextFormat(Qt::PlainText);
  box.setText(qt(message.text));
  box.setWindowTitle(qt(message.title.value_or(applicationTitle_)));
  box.setIcon(messageBoxIcon(message.icon));
  setButtons(box, message.buttons);
  box.exec();
  return answerOf(box, message.buttons);
}

std::string QtPlatform::chooseFile(const FileDialogRequest& request) {
  QFileDialog dialog(owner_);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  configureForMode(dialog, request.mode);
  dialog.setNameFilter(qt(request.filterDescription + " (" + request.filterPattern + ")"));
  dialog.selectFile(qt(request.presetName));
  if (dialog.exec() != QDialog::Accepted) return request.presetName;
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? request.presetName : chosen.first().toStdString();
}

void QtPlatform::beep() { QApplication::beep(); }

bool QtPlatform::shellOpen(const Launch& launch) { return velmaro::platform::shellOpen(launch); }

std::string QtPlatform::applicationFolder() const { return QCoreApplication::applicationDirPath().toStdString(); }

Version QtPlatform::version() const { return kProjectVersion; }

void QtPlatform::quit() {
  QApplication::closeAllWindows();
  // quit() alone is ignored while a window refuses to close; exit() ends every running event loop regardless.
  QCoreApplication::quit();
  QCoreApplication::exit(0);
}

}  // namespace velmaro::platform
