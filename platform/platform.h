#pragma once
// Everything the window's logic needs of the desktop beyond plain widgets: message boxes, file dialogs,
// the beep, handing documents, programs and links to the desktop, the application folder and version,
// and ending the process. The Qt implementation talks to the real desktop; the scripted fake answers
// from a script and records every call, so no test ever blocks on a modal dialog or starts a program.
// Texts are UTF-8.

#include <optional>
#include <string>

namespace velmaro::platform {

enum class Buttons { Ok, YesNo };             // Yes is the default button of Yes/No
enum class Icon { None, Stop, Information };
enum class Answer { Ok, Yes, No };

struct Message {
  std::string text;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  std::optional<std::string> title;  // none: the application's own title
};

enum class DialogMode { Open, Save };

struct FileDialogRequest {
  DialogMode mode = DialogMode::Open;
  std::string filterDescription;  // "File selection All"
  std::string filterPattern;      // "*.jpg"
  std::string presetName;         // "*.jpg"
};

// What the shell's "open" is asked to do. A document or a link goes to the application registered for
// it; a program is started. parameters/workingFolder absent means not given at all (not empty text).
enum class LaunchKind { Document, Program, Link, TextEditor };

struct Launch {
  LaunchKind kind = LaunchKind::Document;
  std::string target;  // path of the document or program, or the link
  std::optional<std::string> parameters;
  std::optional<std::string> workingFolder;
};

struct Version {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Modal; returns the button pressed.
  virtual Answer showMessage(const Message& message) = 0;

  // Modal; returns the name the dialog holds when it closes: the chosen name, or the preset after a cancel.
  virtual std::string chooseFile(const FileDialogRequest& request) = 0;

  virtual void beep() = 0;

  // True when the desktop took the request (an application exists that can open it, or the program
  // started); the launched program is not waited for.
  virtual bool shellOpen(const Launch& launch) = 0;

  // The folder of the executable, without a trailing separator.
  virtual std::string applicationFolder() const = 0;
  virtual Version version() const = 0;

  // Closes every window, without asking, and ends the process.
  virtual void quit() = 0;
};

}  // namespace velmaro::platform
