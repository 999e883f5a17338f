#pragma once
// Files in the making: a private folder where GDAL writes, and the move of its files into place as one
// step, so that a reader never finds half a set and a failure leaves every old file as it was.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/geo.h"

namespace velmaro::geo {

// A new folder of mode 0700, ".<stem>.XXXXXX" inside parent; removed with whatever it still holds when
// the object goes.
class StagingFolder {
 public:
  StagingFolder(const std::filesystem::path& parent, std::string_view stem);
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  // Nothing when the folder was made; otherwise NotWritable (or WriteFailed) with the system's message.
  const std::optional<GeoError>& error() const { return error_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::optional<GeoError> error_;
};

// Moves the files named `made` from staging into folder, where they replace files of the same names, and
// takes `replaced` (full paths of old files in folder, such as a shapefile's old spatial index that no new
// file replaces) out of the way, as one step: the new files are flushed to the disk first, the old ones
// are moved into the staging folder (and go with it), and when any move fails every file is put back.
std::optional<GeoError> PublishFiles(const StagingFolder& staging, const std::vector<std::string>& made,
                                     const std::filesystem::path& folder, const std::vector<std::string>& replaced);

// A failure of the system call that set errno, as a GeoError: NotWritable where the folder or file
// refuses (permission, read-only file system, no such folder), WriteFailed for anything else.
GeoError SystemError(int systemError, const std::string& what);

}  // namespace velmaro::geo
