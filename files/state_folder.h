#pragma once
// The folder of VELMARO's session journals: $XDG_STATE_HOME/velmaro, or $HOME/.local/state/velmaro when
// XDG_STATE_HOME is unset, empty or not an absolute path (a relative value is to be ignored, as the
// base-directory convention says). Nothing is created at start-up: the folder is made by the first
// journal that needs it, so a session with nothing unsaved leaves no trace.

#include <optional>
#include <string>

#include "files/file_error.h"

namespace velmaro {

// The folder named by these two variables (either may be null), without a trailing "/"; "" when
// neither gives an absolute folder.
std::string StateFolderFrom(const char* xdgStateHome, const char* home);

// The folder named by this process's environment.
std::string StateFolder();

// Makes the folder and any missing folder above it, each with mode 0700 (the journals name the user's
// maps and hold their points). Nothing when it exists already, whatever its mode. The empty name is
// NoFileName; a name that exists but is no folder is NotFound.
std::optional<FileError> CreateStateFolder(const std::string& folder);

}  // namespace velmaro
