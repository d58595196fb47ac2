#include "apps/lorvex/batch_command.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>
#include <thread>

#include "common/atomic_file.h"
#include "export/world_index.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"

namespace lorvex::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kAllWritten = 0;
constexpr int kRefused = 1;
constexpr int kFileError = 2;

// The formats named by --formats, in the order of the format table.
std::vector<const exporting::FormatEntry*> ChosenFormats(const std::vector<std::string>& names) {
  std::vector<const exporting::FormatEntry*> formats;
  for (const exporting::FormatEntry& known : exporting::Formats())
    if (std::find(names.begin(), names.end(), known.name) != names.end()) formats.push_back(&known);
  return formats;
}

// What the build threads share: the queue of world numbers and the reports. Everything
// else a thread touches (platform, window, world state, generator, files) is its own.
class BatchReports {
 public:
  BatchReports(int count, bool quiet) : count_(count), quiet_(quiet) {}

  // Each text once, however many worlds show it: every world of a batch runs with the
  // same parameters, so a question or a note repeats in all of them.
  void Message(const std::string& text) {
    const std::lock_guard lock(mutex_);
    if (told_.insert(text).second) std::cerr << text << "\n";
  }
  void Error(const WorldKey& key, const std::string& text) {
    const std::lock_guard lock(mutex_);
    std::cerr << "lorvex: seed " << FormatWorldKey(key) << ": " << text << "\n";
  }
  // One line per world as it finishes, its text made by `line`; a quiet batch makes none.
  template <typename Line>
  void Finished(Line&& line) {
    if (quiet_) return;
    const std::string text = line();
    const std::lock_guard lock(mutex_);
    std::cout << "[" << ++finished_ << "/" << count_ << "] " << text << std::endl;
  }

 private:
  std::mutex mutex_;
  const int count_;
  const bool quiet_;
  int finished_ = 0;
  std::set<std::string> told_;
};

// Builds and writes the world of one seed; the entry for the index is this world's alone.
exporting::IndexEntry BuildAndWrite(const BuildOptions& options, clsBuild& builder,
                                    std::uint64_t seed,
                                    const std::vector<const exporting::FormatEntry*>& formats,
                                    BatchReports& reports, int& status) {
  exporting::IndexEntry entry;
  const WorldKey key{seed, options.draws};
  entry.seed = seed;
  entry.draws = options.draws;
  entry.width = options.width;
  entry.height = options.height;
  entry.wrap = options.wrap;
  const BuiltWorld built = BuildOneWorld(
      builder, options, seed, [&](const std::string& text) { reports.Message(text); }, false);
  if (!built.built) {
    entry.error = built.error;
    reports.Error(key, built.error);
    status = built.status;
    reports.Finished([key] { return "seed " + FormatWorldKey(key) + ": not built"; });
    return entry;
  }
  entry.built = true;
  entry.summary = exporting::Summarize(built.world);
  status = kAllWritten;
  // A world one of the formats cannot hold has none of its files written.
  if (std::string refused; !FormatsHold(options, built.world, refused)) {
    reports.Error(key, refused);
    entry.error = refused;
    status = kFileError;
    reports.Finished([key] { return "seed " + FormatWorldKey(key) + ": not written"; });
    return entry;
  }
  for (const exporting::FormatEntry* format : formats) {
    const std::string name = BatchFileName(key, *format);
    std::string error;
    if (!exporting::WriteWorldFile(ToWrite(built, options), format->format,
                                   (fs::path(options.outDir) / name).string(), error)) {
      reports.Error(key, error);
      entry.error += (entry.error.empty() ? "" : "; ") + error;
      status = kFileError;
      continue;
    }
    entry.files.push_back(name);
    if (format->companion != nullptr) entry.files.push_back(format->companion(name));
  }
  reports.Finished([&] { return WorldSummaryLine(built, options.wrap); });
  return entry;
}

bool MakeFolder(const std::string& folder, std::string& error) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  if (!failure && fs::is_directory(folder, failure)) return true;
  error = "cannot use " + folder + " as the output folder: " +
          (failure ? failure.message() : "it is not a folder");
  return false;
}

bool WriteIndex(const std::string& file, const std::vector<exporting::IndexEntry>& entries,
                std::string& error) {
  const std::string text = exporting::WorldIndexJson(entries);
  AtomicFile out(file);
  if (!out.Open(error)) return false;
  if (std::fwrite(text.data(), 1, text.size(), out.Stream()) != text.size()) {
    out.Finish(error);
    if (error.empty()) error = "cannot write " + file;
    return false;
  }
  return out.Finish(error) && out.Publish(error);
}

}  // namespace

std::string BatchFileName(const WorldKey& key, const exporting::FormatEntry& format) {
  return "world-" + FormatWorldKey(key) + std::string(format.extension);
}

int RunBatch(const BuildOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  std::string error;
  // The parameters are checked once, before anything is built; every world's builder then
  // holds the same ones.
  clsBuild parameters;
  if (!FormatsFit(options, error) || !ApplySettingsOptions(parameters, options.settings, error) ||
      !MakeFolder(options.outDir, error)) {
    std::cerr << "lorvex: " << error << "\n";
    return kFileError;
  }
  const std::vector<const exporting::FormatEntry*> formats = ChosenFormats(options.formats);
  const ParameterFields fields = parameters.Parameters();
  // Seeds run on from the first one, wrapping past 2^64 - 1 to 0.
  const std::uint64_t firstSeed = options.seed ? *options.seed : platform::HeadlessPlatform().ClockSeed();
  const int count = options.count;
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int jobs = std::clamp(options.jobs > 0 ? options.jobs : cores, 1, count);

  // Each world's slot is written by the one thread that took its number from the queue and
  // read only after every thread has been joined.
  std::vector<exporting::IndexEntry> entries(static_cast<std::size_t>(count));
  std::vector<int> statuses(static_cast<std::size_t>(count), kAllWritten);
  std::atomic<int> next{0};
  BatchReports reports(count, options.quiet);
  {
    std::vector<std::jthread> threads;
    threads.reserve(static_cast<std::size_t>(jobs));
    for (int t = 0; t < jobs; ++t)
      threads.emplace_back([&] {
        // One builder a thread builds all of the thread's worlds, as a host that builds many
        // does; every Build still opens a fresh window.
        clsBuild builder;
        builder.SetParameters(fields);
        for (int i; (i = next.fetch_add(1)) < count;) {
          const auto at = static_cast<std::size_t>(i);
          entries[at] = BuildAndWrite(options, builder, firstSeed + static_cast<std::uint64_t>(i),
                                      formats, reports, statuses[at]);
        }
      });
  }  // the threads are joined here

  int status = kAllWritten;
  int built = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    built += entries[i].built ? 1 : 0;
    if (statuses[i] == kFileError) status = kFileError;
    else if (statuses[i] == kRefused && status == kAllWritten) status = kRefused;
  }
  const std::string index = (fs::path(options.outDir) / "index.json").string();
  if (!WriteIndex(index, entries, error)) {
    std::cerr << "lorvex: " << error << "\n";
    status = kFileError;
  }
  if (!options.quiet) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f", seconds);
    std::cout << built << " of " << count << " worlds built in " << elapsed << " s on " << jobs
              << (jobs == 1 ? " thread" : " threads") << "; index " << index << std::endl;
  }
  return status;
}

}  // namespace lorvex::cli
