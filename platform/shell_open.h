#pragma once
// The shell's "open" on a Linux desktop. Desktop launchers (xdg-open, gio open) answer yes before they know
// whether anything can open the target, so the window could never say "Unable to launch ..."; here the
// registered application is found first and started directly, and only a process that really started
// counts as success.

#include "platform/platform.h"

namespace velmaro::platform {

// Starts what opens launch, without waiting for it. Returns true when a process was started:
// - Document: target must be an existing file; the default application of its MIME type opens it.
// - TextEditor: the default application for plain text opens target (the document; it need not exist yet);
//   parameters are ignored. It stands for "Notepad" given the document as its argument.
// - Link: the default handler of the link's scheme ("mailto:" → x-scheme-handler/mailto) opens it.
// - Program: target is started itself, with parameters split like a command line (absent or blank: no
//   arguments); false when it is missing, not executable, or cannot run.
// A registered application counts only when its desktop file exists and its program is found in PATH; one
// that needs a terminal is run in x-terminal-emulator, or not at all without one. The working folder is the
// one the desktop file asks for (its Path), otherwise launch.workingFolder, otherwise the current folder.
bool shellOpen(const Launch& launch);

}  // namespace velmaro::platform
