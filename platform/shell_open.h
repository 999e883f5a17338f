#pragma once
// The shell's "open" on a Linux desktop. Desktop launchers (xdg-open, gio open) answer yes before they know
// whether anything can open the target, so the window could never say "Unable to launch ..."; here the
// registered application is found first (desktop_launch.h) and started directly, and only a process that
// really started counts as success.

#include "platform/platform.h"

namespace velmaro::platform {

// Starts what opens launch, without waiting for it. Returns true when a process was started:
// - Document: target must be an existing file; the application registered for its type opens it.
// - TextEditor: the application registered for plain text opens target (the document; it need not exist
//   yet); parameters are ignored. It stands for "Notepad" given the document as its argument.
// - Link: the default handler of the link's scheme opens it.
// - Program: target is started itself in launch.workingFolder (absent: the current folder), with
//   parameters split like a command line (absent or blank: no arguments); false when it is missing, not
//   executable, no program, or the working folder cannot be entered.
// A registered application runs in the folder its desktop file names, whatever launch.workingFolder says.
bool shellOpen(const Launch& launch);

}  // namespace velmaro::platform
