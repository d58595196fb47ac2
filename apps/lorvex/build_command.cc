#include "apps/lorvex/build_command.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <iostream>

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

// The files of one world by format, as the options name them ("" when not asked for).
struct RequestedFile {
  exporting::Format format;
  const std::string& file;
};
std::array<RequestedFile, 5> RequestedFiles(const BuildOptions& options) {
  using exporting::Format;
  return {{{Format::kText, options.textFile},
           {Format::kPng, options.pngFile},
           {Format::kJson, options.jsonFile},
           {Format::kTmx, options.tmxFile},
           {Format::kFreeciv, options.freecivFile}}};
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
  if (seed) builder.SetNextKey({*seed, options.draws});
  BuiltWorld result;
  result.built = builder.Build(static_cast<std::int16_t>(options.width),
                               static_cast<std::int16_t>(options.height), options.wrap);
  builder.SetPlatform(nullptr);
  progress.Finish();
  result.key = builder.LastKey();
  if (!result.built) {
    result.status = kRefused;
    result.error = "the window did not build a world";
  } else {
    result.world = builder.TakeWorld();
  }
  return result;
}

exporting::WorldToWrite ToWrite(const BuiltWorld& built, const BuildOptions& options) {
  return {built.world,
          {.wrap = options.wrap, .seed = built.key.seed, .draws = built.key.draws, .freecivPlayers = options.freecivPlayers},
          options.scale};
}

namespace {

bool Asked(const BuildOptions& options, const exporting::FormatEntry& entry) {
  bool asked = false;
  if (options.count > 0)
    asked = std::find(options.formats.begin(), options.formats.end(), entry.name) != options.formats.end();
  else
    for (const RequestedFile& requested : RequestedFiles(options))
      asked = asked || (requested.format == entry.format && !requested.file.empty());
  return asked;
}

}  // namespace

bool FormatsFit(const BuildOptions& options, std::string& error) {
  for (const exporting::FormatEntry& entry : exporting::Formats())
    if (Asked(options, entry) && !exporting::FormatFits(entry.format, options.width, options.height, error)) return false;
  return true;
}

bool FormatsHold(const BuildOptions& options, const HostWorld& world, std::string& error) {
  for (const exporting::FormatEntry& entry : exporting::Formats())
    if (Asked(options, entry) && !exporting::FormatHolds(entry.format, world, error)) return false;
  return true;
}

std::string WorldSummaryLine(const BuiltWorld& built, bool wrap) {
  const exporting::WorldSummary s = exporting::Summarize(built.world);
  return "seed " + FormatWorldKey(built.key) + ", map " +
         std::to_string(built.world.MapArray.Width()) + " x " +
         std::to_string(built.world.MapArray.Height()) + (wrap ? " wrapping" : "") + ", land " +
         std::to_string(s.land) + " squares, masses " + std::to_string(s.large) + " large, " +
         std::to_string(s.medium) + " medium, " + std::to_string(s.small) + " small" +
         (s.tinyIslandSquares > 0 ? ", tiny islands " + std::to_string(s.tinyIslandSquares) + " squares" : "") + ", cities " + std::to_string(s.cities);
}

int RunBuild(const BuildOptions& options) {
  std::string error;
  if (!FormatsFit(options, error)) {
    std::cerr << "lorvex: " << error << "\n";
    return kFileError;
  }
  clsBuild builder;
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

  // A world a format asked for cannot hold is refused before any of its files is written.
  if (!FormatsHold(options, built.world, error)) {
    std::cerr << "lorvex: " << error << "; nothing was written\n";
    return kFileError;
  }
  bool written = true;
  bool stdoutTaken = false;
  for (const auto& [format, file] : RequestedFiles(options)) {
    stdoutTaken = stdoutTaken || file == "-";
    if (!file.empty() && !exporting::WriteWorldFile(ToWrite(built, options), format, file, error)) {
      std::cerr << "lorvex: " << error << "\n";
      written = false;
    }
  }
  // The summary goes to standard output unless a format is written there.
  if (!options.quiet) (stdoutTaken ? std::cerr : std::cout) << WorldSummaryLine(built, options.wrap) << "\n";
  return written ? kBuilt : kFileError;
}

}  // namespace lorvex::cli
