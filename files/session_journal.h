#pragma once
// The session journal as a file: what unsaved work the program had when it ended, one journal per map
// in the state folder (files/state_folder.h), named after the map's path.
//
// A journal is the 8 bytes kJournalMagic, a Header record naming the map (path, size, modification
// time) and then records (files/journal_record.h), appended as the session goes. A crash or a full disk
// may cut the last record short or leave garbage after it; reading keeps every whole record before
// that and says why it stopped.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_error.h"
#include "files/journal_record.h"

namespace velmaro {

inline constexpr std::string_view kJournalMagic = "VLMJRNL1";

// A journal is read up to this size and never written past it; only the first kMaxJournalBytes of a
// longer file are looked at. Millions of clicks fit.
inline constexpr std::size_t kMaxJournalBytes = std::size_t{64} * 1024 * 1024;

// Which map, as it stood when it was opened: a map whose size or modification time has changed since
// is no longer the picture the points were clicked on.
struct MapIdentity {
  std::string path;            // absolute, symbolic links resolved
  std::int64_t sizeBytes = 0;
  std::int64_t mtimeNs = 0;    // modification time, nanoseconds since the epoch
  bool operator==(const MapIdentity&) const = default;
};

// The map's identity now: its path made absolute with links resolved, its size and modification time.
// Nothing when there is no ordinary file there (missing, a folder, a device, out of reach).
std::optional<MapIdentity> IdentifyMap(const std::string& path);

enum class MapState {
  Unchanged,  // same size and modification time at the same path
  Changed,    // a file is there, but of another size or time
  Gone,       // no ordinary file can be reached at the path
};

MapState CheckMap(const MapIdentity& map);

// The journal's first bytes: the magic and the Header record. Empty when the path is too long for a
// record.
std::string JournalStart(const MapIdentity& map);

struct JournalContents {
  std::optional<MapIdentity> map;       // the Header; nothing when it could not be read whole
  std::vector<JournalRecord> records;   // every whole, good record after the Header, in order
  JournalDamage damage = JournalDamage::None;  // why reading stopped before the end
  std::size_t wholeBytes = 0;           // bytes up to the end of the last good record (or Header)
  std::optional<FileError> error;       // set when damage is Unreadable
};

// Reads journal bytes. Never throws, never reads past `bytes`.
JournalContents ParseJournal(std::string_view bytes);

// Reads at most kMaxJournalBytes of the file. A file that cannot be opened or read is Unreadable with
// the error; a folder or a device is not read at all.
JournalContents ReadJournal(const std::string& path);

// The journal's name in the state folder: the 64-bit FNV-1a hash of the map's path in 16 lower-case
// hex digits and ".journal". The same path gives the same name in every build; two paths that share a
// hash share a file, which the Header tells apart.
std::string JournalFileName(std::string_view mapPath);
std::string JournalPath(const std::string& stateFolder, std::string_view mapPath);

// The journals in the state folder, sorted, as full paths: only names JournalFileName can give. None
// when the folder does not exist or cannot be read.
std::vector<std::string> ListJournals(const std::string& stateFolder);

// Removes a journal and anything a first write of it may have left ("<path>.new"). A journal that is
// not there is no failure.
std::optional<FileError> RemoveJournal(const std::string& journalPath);

// Where the first write of a journal is prepared before it is renamed into place.
std::string PendingJournalPath(const std::string& journalPath);

}  // namespace velmaro
