#include "apps/lorvex/build_command.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "export/tmx_export.h"
#include "export/world_export.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex::cli {

namespace {

constexpr int kBuilt = 0;
constexpr int kRefused = 1;
constexpr int kFileError = 2;

// The progress bar on a terminal: redrawn at most ten times a second.
class TerminalProgress {
 public:
  explicit TerminalProgress(bool wanted) : enabled_(wanted && isatty(STDERR_FILENO) == 1) {}
  bool Enabled() const { return enabled_; }
  void Update(ui::frmBuild& window) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    const platform::ProgressBar& bar = window.Progress();
    const int width = 30;
    const int filled = bar.max > 0 ? std::clamp(bar.value * width / bar.max, 0, width) : 0;
    std::fprintf(stderr, "\r[%s%s] %-40.40s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(width - filled), ' ').c_str(),
                 window.StatusBar().Panel(ui::kStatusPanelBuild).text.c_str());
    drawn_ = true;
  }
  void Finish() {
    if (drawn_) std::fprintf(stderr, "\r%80s\r", "");
  }

 private:
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
};

bool WriteString(std::FILE* out, const std::string& text, std::string& error) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
    error = ErrorText(errno);
    return false;
  }
  return true;
}

// Writes one stream format to `out`.
bool WriteStream(const BuiltWorld& built, bool wrap, int scale, Format format, std::FILE* out,
                 std::string& error) {
  switch (format) {
    case Format::kText:
      return WriteString(out, exporting::WorldText(built.world), error);
    case Format::kPng:
      return exporting::WriteWorldPng(built.world, scale, out, error);
    case Format::kJson:
      return WriteString(out, exporting::WorldJson(built.world, {wrap, built.seed}), error);
    case Format::kTmx:
      break;
  }
  error = "this format is written to a file only";
  return false;
}

}  // namespace

BuiltWorld BuildOneWorld(clsBuild& builder, const BuildOptions& options,
                         std::optional<std::uint64_t> seed, const MessageSink& onMessage,
                         bool showProgress) {
  platform::HeadlessPlatform platform;  // an unseeded build takes the clock's seed
  platform.SetDefaultQuestionAnswer(options.yes ? platform::MessageAnswer::kYes
                                                : platform::MessageAnswer::kNo);
  platform.OnMessage([&](const platform::ShownMessage& message) { onMessage(PlainText(message.text)); });
  TerminalProgress progress(showProgress);
  if (progress.Enabled())
    platform.OnYield([&](platform::Window& w) { progress.Update(static_cast<ui::frmBuild&>(w)); });
  platform.AddModalAction([](platform::Window& w) {
    static_cast<ui::frmBuild&>(w).Controls().At("cmdBuild", 0).Click();
  });

  builder.SetPlatform(&platform);
  if (seed) builder.SetNextSeed(*seed);
  BuiltWorld result;
  result.built = builder.Build(static_cast<std::int16_t>(options.width),
                               static_cast<std::int16_t>(options.height), options.wrap);
  builder.SetPlatform(nullptr);
  progress.Finish();
  result.seed = builder.LastSeed();
  if (!result.built) {
    result.status = kRefused;
    result.error = "the window did not build a world";
  } else {
    result.world = builder.TakeWorld();
  }
  return result;
}

bool WriteWorld(const BuiltWorld& built, bool wrap, int scale, Format format,
                const std::string& file, std::string& error) {
  if (format == Format::kTmx) {
    if (file == "-") {
      error = "a Tiled map is written to a file, beside its tileset picture, not to standard output";
      return false;
    }
    return WriteTmx(built.world, wrap, built.seed, file, error);
  }
  if (file == "-") {
    if (WriteStream(built, wrap, scale, format, stdout, error) && std::fflush(stdout) == 0) return true;
    error = "cannot write to standard output: " + error;
    return false;
  }
  // Written beside its destination and renamed into place, so a failed write leaves the
  // old file as it was.
  AtomicFile out(file);
  if (!out.Open(error)) return false;
  if (!WriteStream(built, wrap, scale, format, out.Stream(), error)) {
    error = "cannot write " + file + ": " + error;
    return false;
  }
  return out.Finish(error) && out.Publish(error);
}

std::string WorldSummaryLine(const BuiltWorld& built, bool wrap) {
  const exporting::WorldSummary s = exporting::Summarize(built.world);
  return "seed " + std::to_string(built.seed) + ", map " +
         std::to_string(built.world.MapArray.Width()) + " x " +
         std::to_string(built.world.MapArray.Height()) + (wrap ? " wrapping" : "") + ", land " +
         std::to_string(s.land) + " squares, masses " + std::to_string(s.large) + " large, " +
         std::to_string(s.medium) + " medium, " + std::to_string(s.small) + " small" +
         (s.tinyIslandSquares > 0 ? ", tiny islands " + std::to_string(s.tinyIslandSquares) + " squares" : "") + ", cities " + std::to_string(s.cities);
}

int RunBuild(const BuildOptions& options) {
  clsBuild builder;
  std::string error;
  if (!ApplySettingsOptions(builder, options.settings, error)) {
    std::cerr << "lorvex: " << error << "\n";
    return kFileError;
  }
  const BuiltWorld built = BuildOneWorld(
      builder, options, options.seed, [](const std::string& text) { std::cerr << text << "\n"; },
      !options.quiet);
  if (!built.built) {
    std::cerr << "lorvex: " << built.error << "\n";
    return built.status;
  }

  const struct {
    Format format;
    const std::string& file;
  } requested[] = {{Format::kText, options.textFile},
                   {Format::kPng, options.pngFile},
                   {Format::kJson, options.jsonFile},
                   {Format::kTmx, options.tmxFile}};
  bool written = true;
  for (const auto& [format, file] : requested) {
    std::string error;
    if (!file.empty() && !WriteWorld(built, options.wrap, options.scale, format, file, error)) {
      std::cerr << "lorvex: " << error << "\n";
      written = false;
    }
  }
  if (!options.quiet) {
    // The summary goes to standard output unless a format is written there.
    const bool stdoutTaken = options.textFile == "-" || options.pngFile == "-" || options.jsonFile == "-";
    (stdoutTaken ? std::cerr : std::cout) << WorldSummaryLine(built, options.wrap) << "\n";
  }
  return written ? kBuilt : kFileError;
}

}  // namespace lorvex::cli
