#pragma once
// Desktop entries, the ".desktop" files through which a Linux desktop names the application that opens a
// kind of document or link: reading the few keys a launcher needs, and turning the entry's Exec line into
// the program and arguments that open one file or link. Pure text work: no file system, no environment,
// so every rule can be tested without a desktop.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::platform {

struct DesktopEntry {
  std::string exec;         // the Exec value, key-file escapes already resolved, field codes still in it
  std::string name;         // the untranslated Name
  std::string icon;         // Icon, empty when not given
  std::string path;         // Path: the folder the program wants to run in, empty when not given
  bool terminal = false;    // Terminal=true: the program needs a terminal window
};

// Reads the [Desktop Entry] group of a desktop file's text (UTF-8, LF or CR LF line ends). Comments,
// other groups and localized keys ("Name[de]") are ignored; a key given twice keeps its first value.
// Returns nullopt when the group or a non-blank Exec is missing, when the entry is Hidden=true, or when its
// Type is given and is not Application: such an entry cannot be started.
std::optional<DesktopEntry> parseDesktopEntry(std::string_view text);

// Resolves the escapes of a key-file string value: \s blank, \n line feed, \t tab, \r carriage return,
// \\ backslash. Any other backslash pair, and a backslash at the end, are kept as they stand.
std::string unescapeKeyFileValue(std::string_view value);

// Splits an Exec value into words. Blanks and tabs separate words; a double-quoted stretch belongs to the
// word around it, and inside it a backslash makes the following " ` $ or \ literal (before any other
// character the backslash stays). An empty pair of quotes is an empty word. Returns nullopt when a quote
// is not closed.
std::optional<std::vector<std::string>> splitExecLine(std::string_view exec);

// What the entry is asked to open, in the two spellings its field codes may want.
struct ExecTarget {
  std::string file;  // for %f and %F: a local path (for a link, the link itself)
  std::string url;   // for %u and %U: the same target as a URL
};

// The command line that opens target with the entry, program first, the field codes of the Exec line
// replaced: %f %F by the file, %u %U by the URL (one target, so the list codes give one word), %i by the two
// words "--icon" and the Icon value (nothing without an icon), %c by the Name, %k by desktopFile, %% by
// "%". The deprecated %d %D %n %N %v %m and unknown codes are removed, and a word that held nothing but
// removed codes disappears. Substituted text is never split or expanded again, so a path with blanks or a
// "%" stays one word. When the Exec line has none of %f %F %u %U, the file is appended as the last word.
// Returns nullopt when the Exec line cannot be split or leaves no program.
std::optional<std::vector<std::string>> commandLineFor(const DesktopEntry& entry, std::string_view desktopFile,
                                                       const ExecTarget& target);

}  // namespace velmaro::platform
