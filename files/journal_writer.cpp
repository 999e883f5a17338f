#include "files/journal_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <variant>
#include <vector>

#include "files/file_descriptor.h"
#include "files/state_folder.h"

namespace velmaro {
namespace {

struct RemoveRequest {};
using QueueItem = std::variant<JournalRecord, MapIdentity, RemoveRequest>;

// The current map's journal, as the writer's thread sees it. Records are encoded into `pending_` and
// reach the file on write().
class JournalFile {
 public:
  explicit JournalFile(std::string folder) : folder_(std::move(folder)) {}

  void begin(MapIdentity map) {
    file_.reset();
    path_ = JournalPath(folder_, map.path);
    map_ = std::move(map);
  }

  void add(const JournalRecord& record) {
    if (failed_ || !map_) return;
    if (AppendEncodedRecord(record, pending_)) ++pendingRecords_;
  }

  // Writes and flushes what was added. Returns how many records reached the disk, and a failure.
  std::uint64_t write(std::optional<FileError>& failure) {
    if (pending_.empty()) return 0;
    failure = file_.isOpen() ? appendPending() : create();
    if (failure) fail();
    const std::uint64_t written = failure ? 0 : pendingRecords_;
    pending_.clear();
    pendingRecords_ = 0;
    return written;
  }

  std::optional<FileError> remove() {
    pending_.clear();
    pendingRecords_ = 0;
    file_.reset();
    return map_ ? RemoveJournal(path_) : std::nullopt;
  }

 private:
  // The journal whole, under its own name only once it is on the disk.
  std::optional<FileError> create() {
    if (auto failure = CreateStateFolder(folder_)) return failure;
    const std::string start = JournalStart(*map_);
    if (start.empty() || start.size() + pending_.size() > kMaxJournalBytes) return FileError{FileErrorKind::TooLarge, 0};
    const std::string pendingPath = PendingJournalPath(path_);
    ::unlink(pendingPath.c_str());  // a leftover of a crash, so that the new file gets its own mode
    FileDescriptor created(::open(pendingPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!created.isOpen()) return LastSystemError();
    if (!WriteAll(created.get(), start) || !WriteAll(created.get(), pending_) || ::fdatasync(created.get()) != 0 ||
        ::rename(pendingPath.c_str(), path_.c_str()) != 0) {
      const FileError failure = LastSystemError();
      ::unlink(pendingPath.c_str());
      return failure;
    }
    SyncFolder(folder_);
    file_ = std::move(created);
    size_ = start.size() + pending_.size();
    return std::nullopt;
  }

  // A batch that fails part way is cut off again, so the journal ends with a whole record even
  // where the reader would not need it to.
  std::optional<FileError> appendPending() {
    if (size_ + pending_.size() > kMaxJournalBytes) return FileError{FileErrorKind::TooLarge, 0};
    if (WriteAll(file_.get(), pending_) && ::fdatasync(file_.get()) == 0) {
      size_ += pending_.size();
      return std::nullopt;
    }
    const FileError failure = LastSystemError();
    [[maybe_unused]] const int uncut = ::ftruncate(file_.get(), static_cast<off_t>(size_));
    return failure;
  }

  void fail() {
    failed_ = true;
    file_.reset();
  }

  const std::string folder_;
  std::optional<MapIdentity> map_;
  std::string path_;
  FileDescriptor file_;  // open once the journal exists under its name
  std::size_t size_ = 0;
  std::string pending_;
  std::uint64_t pendingRecords_ = 0;
  bool failed_ = false;  // for the rest of the session: a failing folder rarely recovers by itself
};

}  // namespace

struct JournalWriter::Queue {
  std::mutex mutex;
  std::condition_variable wake;  // the writer's thread waits for work
  std::condition_variable idle;  // waitUntilDone waits for the end of it
  std::vector<QueueItem> items;
  bool busy = false;
  bool stopping = false;
  bool hasMap = false;
  std::optional<FileError> failure;
  bool failureTaken = false;

  void push(QueueItem item) {
    {
      const std::lock_guard lock(mutex);
      items.push_back(std::move(item));
    }
    wake.notify_one();
  }

  void report(const std::optional<FileError>& error) {
    if (!error) return;
    const std::lock_guard lock(mutex);
    if (!failure) failure = error;
  }
};

JournalWriter::JournalWriter(std::string stateFolder)
    : queue_(std::make_unique<Queue>()), thread_([this, folder = std::move(stateFolder)] { run(folder); }) {}

JournalWriter::~JournalWriter() {
  {
    const std::lock_guard lock(queue_->mutex);
    queue_->stopping = true;
  }
  queue_->wake.notify_one();
  thread_.join();
}

void JournalWriter::beginMap(MapIdentity map) {
  {
    const std::lock_guard lock(queue_->mutex);
    queue_->hasMap = true;
  }
  queue_->push(std::move(map));
}

bool JournalWriter::append(JournalRecord record) {
  if (!FitsKind(record) || record.kind == RecordKind::Header) return false;
  {
    const std::lock_guard lock(queue_->mutex);
    if (!queue_->hasMap) return false;
    queue_->items.push_back(std::move(record));
  }
  queue_->wake.notify_one();
  return true;
}

void JournalWriter::remove() { queue_->push(RemoveRequest{}); }

void JournalWriter::waitUntilDone() {
  std::unique_lock lock(queue_->mutex);
  queue_->idle.wait(lock, [this] { return queue_->items.empty() && !queue_->busy; });
}

std::optional<FileError> JournalWriter::takeFailure() {
  const std::lock_guard lock(queue_->mutex);
  if (!queue_->failure || queue_->failureTaken) return std::nullopt;
  queue_->failureTaken = true;
  return queue_->failure;
}

void JournalWriter::run(std::string stateFolder) {
  JournalFile file(std::move(stateFolder));
  std::vector<QueueItem> batch;
  const auto writeOut = [&] {
    std::optional<FileError> failure;
    synced_.fetch_add(file.write(failure), std::memory_order_release);
    queue_->report(failure);
  };
  for (;;) {
    {
      std::unique_lock lock(queue_->mutex);
      queue_->busy = false;
      if (queue_->items.empty()) queue_->idle.notify_all();
      queue_->wake.wait(lock, [this] { return !queue_->items.empty() || queue_->stopping; });
      if (queue_->items.empty()) return;
      batch.swap(queue_->items);
      queue_->busy = true;
    }
    for (QueueItem& item : batch) {
      if (const auto* record = std::get_if<JournalRecord>(&item)) {
        file.add(*record);
      } else if (auto* map = std::get_if<MapIdentity>(&item)) {
        writeOut();
        file.begin(std::move(*map));
      } else {
        queue_->report(file.remove());
      }
    }
    writeOut();
    batch.clear();
  }
}

}  // namespace velmaro
