#include "ui/session_journal.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "files/session_snapshot.h"

namespace velmaro::ui {

SessionJournal::SessionJournal(std::string stateFolder) : folder_(stateFolder), writer_(std::move(stateFolder)) {}

void SessionJournal::mapOpened(const std::optional<MapIdentity>& map, std::vector<JournalField> snapshot,
                               double canvasWidthTwips, double canvasHeightTwips) {
  const std::optional<MapIdentity> previous = std::exchange(map_, map);
  mapLog_ = {JournalRecord{RecordKind::Snapshot, std::move(snapshot)}};
  if (map_) {
    mapLog_.push_back(JournalRecord{RecordKind::MapOpened, {map_->path, map_->sizeBytes, map_->mtimeNs,
                                                            canvasWidthTwips, canvasHeightTwips}});
  }
  const bool carried = started_;
  started_ = false;
  if (map_) writer_.beginMap(*map_);
  // Unsaved work moves into the new map's journal before the old one goes, so no moment holds neither.
  if (unsaved_ && map_) start();
  if (!carried || !previous || (map_ && map_->path == previous->path)) return;
  writer_.waitUntilDone();
  RemoveJournal(JournalPath(folder_, previous->path));
}

void SessionJournal::record(JournalRecord change, bool work) {
  mapLog_.push_back(std::move(change));
  unsaved_ = unsaved_ || work;
  if (!unsaved_ || !map_) return;
  if (started_)
    writer_.append(mapLog_.back());
  else
    start();
}

void SessionJournal::start() {
  for (const JournalRecord& change : mapLog_) writer_.append(change);
  started_ = true;
}

std::vector<SessionJournal::LeftOver> SessionJournal::leftOver() const {
  std::vector<std::string> paths = ListJournals(folder_);
  // The newest first: a session that died last is the one the user remembers.
  std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
    std::error_code ignored;
    return std::filesystem::last_write_time(a, ignored) > std::filesystem::last_write_time(b, ignored);
  });
  std::vector<LeftOver> left;
  for (const std::string& path : paths) {
    JournalContents contents = ReadJournal(path);
    const bool usable = contents.map && contents.records.size() >= 2 && contents.records[0].kind == RecordKind::Snapshot &&
                        contents.records[1].kind == RecordKind::MapOpened &&
                        UnflattenSnapshot(contents.records[0].fields).has_value();
    if (!usable) {
      RemoveJournal(path);
      continue;
    }
    const MapState state = CheckMap(*contents.map);
    left.push_back({path, std::move(contents), state});
  }
  return left;
}

void SessionJournal::saved() {
  unsaved_ = false;
  if (!std::exchange(started_, false)) return;
  writer_.remove();
}

void SessionJournal::quit() {
  if (std::exchange(started_, false)) writer_.remove();
  writer_.waitUntilDone();
}

}  // namespace velmaro::ui
