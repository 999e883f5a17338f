#pragma once
// What the tests of files/ and of the rich-text box share: golden files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/bounded_file.h"

namespace velmaro::test {

inline std::string Slurp(const std::filesystem::path& file) { return ReadWholeFile(file.string(), 1u << 26).bytes; }

// Compares with an expected file; with VELMARO_UPDATE_GOLDEN set, writes the file instead.
inline void ExpectGolden(const std::filesystem::path& expected, const std::string& actual) {
  if (std::getenv("VELMARO_UPDATE_GOLDEN") != nullptr) std::ofstream(expected, std::ios::binary) << actual;
  else EXPECT_EQ(actual, Slurp(expected)) << expected;
}

}  // namespace velmaro::test
