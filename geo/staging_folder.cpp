#include "geo/staging_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/file_error.h"

namespace velmaro::geo {
namespace fs = std::filesystem;
namespace {

// Room left for ".", ".XXXXXX" within the 255-byte limit of one name on common file systems.
constexpr std::size_t kMaxStem = 240;

bool Flush(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = ::fsync(fd) == 0;
  return ::close(fd) == 0 && flushed;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  [[maybe_unused]] const int unsynced = ::fsync(fd);  // the files are complete either way
  ::close(fd);
}

struct Move {
  fs::path from;
  fs::path to;
};

// Takes the moves back, last first. A move back within one folder pair that worked one way works back.
void Undo(const std::vector<Move>& moves) {
  for (auto move = moves.rbegin(); move != moves.rend(); ++move) ::rename(move->to.c_str(), move->from.c_str());
}

}  // namespace

GeoError SystemError(int systemError, const std::string& what) {
  const FileErrorKind kind = FileErrorKindOf(systemError);
  const bool refused = kind == FileErrorKind::PermissionDenied || kind == FileErrorKind::ReadOnlyFileSystem ||
                       kind == FileErrorKind::NotFound;
  return GeoError{refused ? GeoErrorKind::NotWritable : GeoErrorKind::WriteFailed,
                  what + ": " + std::strerror(systemError), {}, {}};
}

StagingFolder::StagingFolder(const fs::path& parent, std::string_view stem) {
  std::string pattern = (parent / ("." + std::string(stem.substr(0, kMaxStem)) + ".XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    error_ = SystemError(errno, parent.string());
    return;
  }
  path_ = pattern;
}

StagingFolder::~StagingFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::optional<GeoError> PublishFiles(const StagingFolder& staging, const std::vector<std::string>& made,
                                     const fs::path& folder, const std::vector<std::string>& replaced) {
  for (const std::string& name : made) {
    if (!Flush(staging.path() / name)) return SystemError(errno, (staging.path() / name).string());
  }
  const fs::path aside = staging.path() / "replaced";
  if (!replaced.empty() && ::mkdir(aside.c_str(), 0700) != 0) return SystemError(errno, aside.string());

  std::vector<Move> moves;
  const auto moveAll = [&moves](std::vector<Move> planned) -> std::optional<GeoError> {
    for (Move& move : planned) {
      if (::rename(move.from.c_str(), move.to.c_str()) != 0) {
        const GeoError error = SystemError(errno, move.to.string());
        Undo(moves);
        return error;
      }
      moves.push_back(std::move(move));
    }
    return std::nullopt;
  };
  std::vector<Move> oldOnes, newOnes;
  for (const std::string& old : replaced) oldOnes.push_back({old, aside / fs::path(old).filename()});
  for (const std::string& name : made) newOnes.push_back({staging.path() / name, folder / name});
  if (auto error = moveAll(std::move(oldOnes))) return error;
  if (auto error = moveAll(std::move(newOnes))) return error;
  SyncFolder(folder);
  return std::nullopt;
}

}  // namespace velmaro::geo
