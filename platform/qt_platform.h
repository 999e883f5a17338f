#pragma once
// The platform on a real desktop through Qt Widgets. Needs a QApplication for its whole life; every call
// runs on the GUI thread.

#include <string>

#include "platform/platform.h"

class QWidget;

namespace velmaro::platform {

class QtPlatform final : public Platform {
 public:
  // owner parents the message boxes and file dialogs (nullptr: no parent; it may be set once the main
  // window exists). applicationTitle is the title of a message box given none. From here on, nothing of
  // this process stores Qt settings in the user's folders: they go to a private folder removed at exit.
  explicit QtPlatform(QWidget* owner, std::string applicationTitle);

  void setOwner(QWidget* owner) { owner_ = owner; }

  // Plain text, never rich text, so a path with "<" shows as typed. Yes is the default of Yes/No, and
  // Escape or closing the box answers No (Ok for an Ok box).
  Answer showMessage(const Message& message) override;

  // Qt's own dialog rather than the desktop's, so it looks and behaves the same everywhere. The filter
  // reads "<description> (<pattern>)"; any name may be typed, existing or not; saving never asks before
  // replacing a file and adds no extension. Accepted: the full path of the chosen name.
  std::string chooseFile(const FileDialogRequest& request) override;

  void beep() override;
  bool shellOpen(const Launch& launch) override;  // see shell_open.h and desktop_launch.h
  std::string applicationFolder() const override;
  Version version() const override;  // the project's version, fixed at build time

  // Closes every top-level window, then ends the event loops even when a window refused to close or a
  // modal dialog's loop is running; main()'s exec() then returns 0.
  void quit() override;

 private:
  QWidget* owner_;
  std::string applicationTitle_;
};

}  // namespace velmaro::platform
