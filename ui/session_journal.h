#pragma once
// The window's recovery journal: what it takes to bring the session back after the program dies, kept in
// the state folder while there is unsaved work, and only then.
//
// A map's journal holds the session as it stood when the map was opened (a snapshot), the map itself, and
// every change since in order: field texts, notation, captures, removals, undo and redo. Replaying those on
// the snapshot gives the session back, discs and undo steps included. The journal is written off the
// window's thread (files/journal_writer); this class only decides what goes into it and when:
// - the first change that is work (not what opening a map does by itself) starts the journal with all the
//   map's changes so far;
// - "Save XY File" written and a deliberate quit remove it; opening another map moves the unsaved work,
//   if any, into the new map's journal and removes the old one;
// - a journal that cannot be written is reported once (failure()), and the session goes on without one.

#include <optional>
#include <string>
#include <vector>

#include "files/file_error.h"
#include "files/journal_record.h"
#include "files/journal_writer.h"
#include "files/session_journal.h"

namespace velmaro::ui {

class SessionJournal {
 public:
  explicit SessionJournal(std::string stateFolder);

  // The canvas now shows this map (or, without `map`, one whose file cannot be identified: nothing is
  // journalled until the next map). `snapshot` is the session as it stands, before the map's info file.
  void mapOpened(const std::optional<MapIdentity>& map, std::vector<JournalField> snapshot, double canvasWidthTwips,
                 double canvasHeightTwips);
  // A change on the current map. `work` says whether it is unsaved work the user made, or only what
  // opening a map does by itself (its info file, its file names), which is replayed but saves nothing.
  void record(JournalRecord change, bool work = true);
  // "Save XY File" wrote the points: nothing is unsaved, the journal goes.
  void saved();
  // A deliberate end: the journal goes, and this returns once it has.
  void quit();

  // The journals sessions that ended without saving have left, the newest first, each with its map's state
  // now. A journal from which nothing can be brought back (no snapshot, no map) is removed instead.
  struct LeftOver {
    std::string path;
    JournalContents contents;
    MapState mapState = MapState::Gone;
  };
  std::vector<LeftOver> leftOver() const;

  bool unsavedWork() const { return unsaved_; }
  // The first failure to keep the journal, once.
  std::optional<FileError> failure() { return writer_.takeFailure(); }
  // For tests and measurements: waits until everything recorded so far is on the disk.
  void waitUntilWritten() { writer_.waitUntilDone(); }
  const std::string& folder() const { return folder_; }

 private:
  void start();

  std::string folder_;
  JournalWriter writer_;
  std::optional<MapIdentity> map_;
  std::vector<JournalRecord> mapLog_;  // the snapshot, the map and every change since it was opened
  bool unsaved_ = false;
  bool started_ = false;  // the journal holds mapLog_
};

}  // namespace velmaro::ui
