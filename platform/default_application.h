#pragma once
// The application the desktop registered as the default for a MIME type ("application/vnd.google-earth.kml+xml",
// "text/plain", "x-scheme-handler/mailto"), as the freedesktop.org rules find it: xdg-mime names the desktop
// file, which is looked up in the XDG application folders and read. Reads the environment (XDG_DATA_HOME,
// XDG_DATA_DIRS, HOME) at every call, so a changed environment is honoured at once.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_entry.h"

namespace velmaro::platform {

struct RegisteredApplication {
  DesktopEntry entry;
  std::string desktopFile;  // full path of the desktop file the entry was read from
};

// The folders that hold desktop files, most important first: $XDG_DATA_HOME/applications (by default
// $HOME/.local/share/applications), then "applications" under each folder of $XDG_DATA_DIRS (by default
// /usr/local/share and /usr/share). Empty parts of the lists are skipped.
std::vector<std::string> applicationFolders();

// The paths, relative to an application folder, where the desktop file with the given id may lie: the id
// itself, and, since an id spells a subfolder's "/" as "-", the id with one of its "-" turned into "/"
// ("kde4-okular.desktop" may be "kde4/okular.desktop").
std::vector<std::string> desktopFileCandidates(std::string_view desktopId);

// The desktop file id that `xdg-mime query default <mimeType>` names. Nullopt when xdg-mime is missing,
// fails, takes longer than a few seconds, or names nothing.
std::optional<std::string> queryDefaultDesktopId(const std::string& mimeType);

// The first readable desktop file of that id in the application folders, or nullopt.
std::optional<std::string> findDesktopFile(std::string_view desktopId);

// The registered default application for mimeType, read from its desktop file. Nullopt when none is
// registered, its desktop file is missing or unreadable, or the entry cannot be started (see
// parseDesktopEntry). Whether its program exists is not checked here.
std::optional<RegisteredApplication> defaultApplicationFor(const std::string& mimeType);

}  // namespace velmaro::platform
