#pragma once
// Appends journal records off the window's thread, so that a click costs no disk access and yet
// reaches the disk within a fraction of a second.
//
// append() only moves the record into a queue and wakes the writer's own thread. That thread takes
// whatever has queued up, writes it with one write and one fdatasync, and goes back to waiting: records
// that arrive while a batch is being flushed go together in the next one. A record is on the disk
// as soon as the fdatasync of its batch returns.
//
// A map's journal is created with its first record, never before: a session with nothing unsaved
// leaves no file. The first batch (the journal's magic, its Header and the records) is written to
// "<journal>.new", flushed, renamed over the journal's name and the folder flushed, so a journal of the
// same map left by an earlier session is replaced only by a complete new one. Later batches are
// appended. A crash can cut the last batch short; the reader stops at the last whole record.
//
// When the journal cannot be written (the state folder cannot be made or is read-only, the disk is
// full, the journal would pass kMaxJournalBytes), the writer cuts the file back to its last whole
// batch, reports the failure once through takeFailure() and drops every later record quietly: the
// session goes on without a journal. A removal is still carried out.
//
// beginMap, append, remove and waitUntilDone may be called from any thread; the order of the calls is
// the order of the work. Nothing is ever called back on the writer's thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "files/file_error.h"
#include "files/journal_record.h"
#include "files/session_journal.h"

namespace velmaro {

class JournalWriter {
 public:
  // Journals go into `stateFolder` (files/state_folder.h), made with mode 0700 by the first record.
  explicit JournalWriter(std::string stateFolder);
  // Writes out everything queued, then ends the thread. The journal stays: only remove() deletes it.
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Records from now on go to this map's journal (JournalPath of map.path); the journal of the map
  // before stays as it is. The first record replaces any journal the map already has.
  void beginMap(MapIdentity map);

  // Queues the record for the current map's journal. False, with nothing queued, when the record does
  // not fit its kind (FitsKind), is a Header (the writer writes those itself) or no map was begun.
  // True after a failure too: the record is then dropped.
  bool append(JournalRecord record);

  // Removes the current map's journal once everything queued before is dealt with (records still
  // queued for it are not written); the next record starts a fresh journal with its Header.
  void remove();

  // Waits until everything queued so far is on the disk, removed or dropped.
  void waitUntilDone();

  // The first failure to write or remove a journal, once: later calls give nothing.
  std::optional<FileError> takeFailure();

  // Records on the disk so far (their fdatasync has returned), counted over the writer's life.
  std::uint64_t syncedRecords() const { return synced_.load(std::memory_order_acquire); }

 private:
  struct Queue;
  void run(std::string stateFolder);

  std::unique_ptr<Queue> queue_;
  std::atomic<std::uint64_t> synced_{0};
  std::thread thread_;
};

}  // namespace velmaro
