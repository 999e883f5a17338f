#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmaro::bench {

// The measured operations on one map file.
enum class LoadCase {
  Djpeg,           // reference: libjpeg-turbo's own djpeg writing to /dev/null, timed as a bare process
  TurboDecode,     // TurboJPEG alone, file bytes in memory, into a 32-bit buffer whose pages are already touched
  FreshDecode,     // the same into a freshly malloc'ed buffer: pays a page fault for every 4 KiB it writes
  LoadFull,        // the loader's full picture at once, on one thread, file reading included
  DecodeBegun,     // MapDecode::Begin: header read, memory counted, pictures handed out, threads started
  DecodeDone,      // MapDecode from Begin until the picture and its preview are whole
  SelectUsable,    // Form1::Select_File with the map chosen in the dialog, until the first rows are on screen
  SelectFile,      // the same until the map is fully loaded
  SelectFileAgain, // the same with the map already open: a second map opened over the first
};

std::string_view CaseName(LoadCase loadCase);
std::optional<LoadCase> CaseFromName(std::string_view name);

struct CaseResult {
  double seconds = 0;           // wall time of the operation alone
  double cpuSeconds = 0;        // processor time of the operation (user and system), steadier on a busy machine
  std::int64_t peakBytes = 0;   // the process's peak resident memory (VmHWM) with the result still held
};

// Runs `loadCase` on `path` in this process. nullopt when the operation fails.
std::optional<CaseResult> RunCaseHere(LoadCase loadCase, const QString& path);

// Runs `loadCase` in a fresh child process (`program` started with "--child <case> <path>"; for Djpeg, djpeg
// itself), so that the peak memory of one case is not raised by an earlier one. nullopt when the child fails.
std::optional<CaseResult> RunCaseInChild(const QString& program, LoadCase loadCase, const QString& path);

// The child's side: prints the result of RunCaseHere as "<seconds> <cpu seconds> <peak bytes>"; returns the
// exit code.
int ChildMain(std::string_view caseName, const QString& path);

}  // namespace velmaro::bench
