#pragma once
// What the tests of files/ and files/rtf/ share: table fields with escapes, golden files, a scratch folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/bounded_file.h"

namespace velmaro::test {

namespace fs = std::filesystem;

// A table field spells a byte as \xHH and CR LF as ¶; everything else stands for itself.
inline std::string Unescape(std::string_view field) {
  std::string bytes;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field.substr(i, 2) == "\\x" && i + 3 < field.size()) {
      bytes += static_cast<char>(std::stoi(std::string(field.substr(i + 2, 2)), nullptr, 16));
      i += 3;
    } else if (field.substr(i, 2) == "¶") {
      bytes += "\r\n";
      ++i;
    } else {
      bytes += field[i];
    }
  }
  return bytes;
}

inline std::string Slurp(const fs::path& file) { return ReadWholeFile(file.string(), 1u << 26).bytes; }

// Compares with an expected file; with VELMARO_UPDATE_GOLDEN set, writes the file instead.
inline void ExpectGolden(const fs::path& expected, const std::string& actual) {
  if (std::getenv("VELMARO_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(expected, std::ios::binary) << actual;
  } else {
    EXPECT_EQ(actual, Slurp(expected)) << expected;
  }
}

// A fresh folder, removed with everything in it (made writable again first).
class ScratchFolder {
 public:
  ScratchFolder() { fs::create_directories(path_); }
  ~ScratchFolder() {
    std::error_code error;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }

 private:
  static inline int count_ = 0;
  fs::path path_ = fs::temp_directory_path() / ("velmaro-" + std::to_string(::getpid()) + "-" + std::to_string(++count_));
};

}  // namespace velmaro::test
