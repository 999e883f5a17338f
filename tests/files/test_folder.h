#pragma once
// A fresh folder per test under the system's temporary folder, removed with everything in it, and
// the file helpers the tests of files/ share.

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace velmaro::test {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Raw bytes of a file; fails the calling test when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// Every name in a folder and its subfolders, relative to the folder: what a failed write must not change.
std::set<std::string> FolderEntries(const std::filesystem::path& folder);

}  // namespace velmaro::test
