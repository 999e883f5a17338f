// velmaro_journal_bench: what the session journal costs the window's thread, and how soon a record is on
// the disk.
//
//   velmaro_journal_bench [--folder DIR] [--clicks 300] [--interval-ms 5] [--burst 2000]
//
// "clicks" appends one capture every interval, as a fast user would; "burst" appends records back to
// back, as a replay does. For each record: how long append() held the calling thread, and how long
// from its append until the fdatasync of its batch had returned (seen by a watcher thread polling the
// writer's count every 20 µs, so that figure is late by up to that much). The journal goes to a fresh
// folder under DIR (default: the temporary folder), which should be on the disk whose figures are
// wanted. Figures are printed, never judged by the exit code.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/stats.h"
#include "files/journal_writer.h"

namespace {

using Clock = std::chrono::steady_clock;
using velmaro::bench::Fixed;

struct Options {
  std::string folder = std::filesystem::temp_directory_path().string();
  int clicks = 300;
  int intervalMs = 5;
  int burst = 2000;
};

struct Figures {
  std::vector<double> appendUs;   // the calling thread's time in append()
  std::vector<double> durableMs;  // append to fdatasync done
  int batches = 0;
  double totalMs = 0;
};

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

velmaro::JournalRecord Capture(int i) {
  return {velmaro::RecordKind::Capture, {std::int64_t{1}, 1000.0 + i * 15.0, 2000.0 + i * 7.5}};
}

Figures Run(const std::string& folder, int count, std::chrono::milliseconds interval) {
  Figures figures;
  std::vector<Clock::time_point> appended(static_cast<std::size_t>(count));
  std::vector<Clock::time_point> durable(static_cast<std::size_t>(count));
  velmaro::JournalWriter writer(folder);
  writer.beginMap({"/bench/map.jpg", 123456, 1});
  std::atomic<bool> done{false};
  std::thread watcher([&] {
    // The last look comes after `done`, so a batch that ends the run is seen too.
    for (std::uint64_t seen = 0; seen < static_cast<std::uint64_t>(count);) {
      const bool last = done.load();
      const std::uint64_t now = writer.syncedRecords();
      if (now > seen) {
        const Clock::time_point at = Clock::now();
        for (std::uint64_t i = seen; i < now && i < durable.size(); ++i) durable[i] = at;
        seen = now;
        ++figures.batches;
      }
      if (last) break;
      std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
  });
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < count; ++i) {
    velmaro::JournalRecord record = Capture(i);
    const Clock::time_point before = Clock::now();
    writer.append(std::move(record));
    const Clock::time_point after = Clock::now();
    appended[static_cast<std::size_t>(i)] = before;
    figures.appendUs.push_back(std::chrono::duration<double, std::micro>(after - before).count());
    if (interval.count() > 0) std::this_thread::sleep_until(start + interval * (i + 1));
  }
  writer.waitUntilDone();
  figures.totalMs = Milliseconds(Clock::now() - start);
  done = true;
  watcher.join();
  if (auto failure = writer.takeFailure()) std::printf("the journal could not be written (errno %d)\n", failure->systemError);
  for (int i = 0; i < count; ++i) figures.durableMs.push_back(Milliseconds(durable[i] - appended[i]));
  writer.remove();
  return figures;
}

void Print(std::string_view name, int count, const Figures& f) {
  using velmaro::bench::Median;
  using velmaro::bench::Percentile;
  const double appendP95 = Percentile(f.appendUs, 0.95);
  const double durableMax = Percentile(f.durableMs, 1.0);
  std::printf("%-7s %6d %8d %10s %10s %10s %12s %12s %12s %10s %10s\n", std::string(name).c_str(), count, f.batches,
              Fixed(Median(f.appendUs), 1).c_str(), Fixed(appendP95, 1).c_str(), Fixed(Percentile(f.appendUs, 1.0), 1).c_str(),
              Fixed(Median(f.durableMs), 2).c_str(), Fixed(Percentile(f.durableMs, 0.95), 2).c_str(), Fixed(durableMax, 2).c_str(),
              velmaro::bench::Verdict(appendP95 < 1000).c_str(), velmaro::bench::Verdict(durableMax <= 100).c_str());
}

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 >= argc) return false;
    const std::string_view name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--folder") options.folder = value;
    else if (name == "--clicks") options.clicks = std::atoi(value);
    else if (name == "--interval-ms") options.intervalMs = std::atoi(value);
    else if (name == "--burst") options.burst = std::atoi(value);
    else return false;
  }
  return options.clicks > 0 && options.burst > 0 && options.intervalMs >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fprintf(stderr, "usage: velmaro_journal_bench [--folder DIR] [--clicks N] [--interval-ms M] [--burst N]\n");
    return 2;
  }
  const std::filesystem::path folder =
      std::filesystem::path(options.folder) / ("velmaro-journal-bench-" + std::to_string(::getpid()));
  std::printf("journal in %s\n", folder.c_str());
  std::printf("%-7s %6s %8s %10s %10s %10s %12s %12s %12s %10s %10s\n", "case", "records", "batches", "append µs",
              "p95 µs", "max µs", "on disk ms", "p95 ms", "max ms", "<1 ms p95", "<=100 ms");
  const Figures clicks = Run(folder, options.clicks, std::chrono::milliseconds(options.intervalMs));
  Print("clicks", options.clicks, clicks);
  const Figures burst = Run(folder, options.burst, std::chrono::milliseconds(0));
  Print("burst", options.burst, burst);
  std::filesystem::remove_all(folder);
  return 0;
}
