#include "ui/session_journal.h"

#include <utility>

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
