#pragma once
// What the tests of files/ and of the rich-text box share: golden files, error kinds by name, and running
// as "nobody".

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "files/bounded_file.h"
#include "files/file_error.h"

namespace velmaro::test {

inline std::string Slurp(const std::filesystem::path& file) { return ReadWholeFile(file.string(), 1u << 26).bytes; }

// Compares with an expected file; with VELMARO_UPDATE_GOLDEN set, writes the file instead.
inline void ExpectGolden(const std::filesystem::path& expected, const std::string& actual) {
  if (std::getenv("VELMARO_UPDATE_GOLDEN") != nullptr) std::ofstream(expected, std::ios::binary) << actual;
  else EXPECT_EQ(actual, Slurp(expected)) << expected;
}

// Permission bits do not bind root: a root run writes as "nobody" for as long as this lives. Changing the
// effective user makes the process undumpable, which would stop the leak checker at exit, so both go back.
struct AsNobody {
  const bool switched = ::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  ~AsNobody() {
    if (switched && ::seteuid(0) == 0 && ::setegid(0) == 0) ::prctl(PR_SET_DUMPABLE, 1);
  }
};

inline std::string KindName(const std::optional<FileError>& error) {
  constexpr const char* kNames[] = {"NoFileName", "DialogPreset", "NotFound", "IsFolder", "NotRegularFile",
                                    "PermissionDenied", "ReadOnlyFileSystem", "DiskFull", "TooLarge", "Other"};
  return error ? kNames[static_cast<int>(error->kind)] : "ok";
}

}  // namespace velmaro::test
