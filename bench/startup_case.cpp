#include "bench/startup_case.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace velmaro::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The child's environment: ours, headless unless a platform was chosen.
std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> entries;
  bool hasPlatform = false;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    entries.emplace_back(*entry);
    if (entries.back().rfind("QT_QPA_PLATFORM=", 0) == 0) hasPlatform = true;
  }
  if (!hasPlatform) entries.emplace_back("QT_QPA_PLATFORM=offscreen");
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads up to the first newline; blocks until it comes or the child closes its end.
std::string ReadLine(int descriptor) {
  std::string line;
  char buffer[64];
  while (line.find('\n') == std::string::npos) {
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got <= 0) break;
    line.append(buffer, static_cast<std::size_t>(got));
  }
  return line;
}

std::optional<double> ParseMicroseconds(const std::string& line) {
  long long value = 0;
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (error != std::errc{} || end == line.data() || *end != '\n') return std::nullopt;
  return static_cast<double>(value);
}

}  // namespace

std::optional<StartupSample> TimeStartup(const std::string& probe, bool atMain) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  // The offscreen platform's warnings would only clutter the tables; a failure shows as a missing line.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> arguments{probe};
  if (atMain) arguments.emplace_back("--at-main");
  std::vector<std::string> environment = ChildEnvironment();
  std::vector<char*> argv = Pointers(arguments), envp = Pointers(environment);

  pid_t child = 0;
  const auto start = Clock::now();
  const int spawned = posix_spawn(&child, probe.c_str(), &actions, nullptr, argv.data(), envp.data());
  close(pipeEnds[1]);
  std::string line;
  if (spawned == 0) line = ReadLine(pipeEnds[0]);
  const auto arrived = Clock::now();
  close(pipeEnds[0]);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;

  int status = 0;
  waitpid(child, &status, 0);
  const std::optional<double> inside = ParseMicroseconds(line);
  if (!inside || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return StartupSample{std::chrono::duration<double, std::milli>(arrived - start).count(), *inside / 1000.0};
}

}  // namespace velmaro::bench
