#include "apps/lorvex/build_command.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>

#include "common/atomic_file.h"
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

std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(
      std::chrono::system_clock::now().time_since_epoch().count());
}

// A message box's text, with the window's CRLF line breaks as plain line breaks.
void PrintMessage(const platform::ShownMessage& message) {
  std::string text = message.text;
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  std::cerr << text << "\n";
}

// The progress bar on a terminal: redrawn at most ten times a second.
class TerminalProgress {
 public:
  TerminalProgress() : enabled_(isatty(STDERR_FILENO) == 1) {}
  void Update(ui::frmBuild& window) {
    if (!enabled_) return;
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

// Writes FILE ("-" = standard output) beside its destination and renames it into place,
// so a failed write leaves the old file as it was.
bool WriteTo(const std::string& file, const std::function<bool(std::FILE*, std::string&)>& write) {
  std::string error;
  if (file == "-") {
    const bool ok = write(stdout, error) && std::fflush(stdout) == 0;
    if (!ok) std::cerr << "lorvex: cannot write to standard output: " << error << "\n";
    return ok;
  }
  AtomicFile out(file);
  bool ok = out.Open(error);
  if (ok && !write(out.Stream(), error)) {
    error = "cannot write " + file + ": " + error;
    ok = false;
  }
  ok = ok && out.Finish(error) && out.Publish(error);
  if (!ok) std::cerr << "lorvex: " << error << "\n";
  return ok;
}

bool WriteString(std::FILE* out, const std::string& text, std::string& error) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

std::string Summary(const clsBuild& host, bool wrap) {
  const HostWorld& world = host.World();
  long long land = 0;
  for (char code : world.MapArray.Cells()) land += IsLand(code) ? 1 : 0;
  int placed[4] = {0, 0, 0, 0};
  for (const LandMass& mass : world.Masses)
    if (mass.squares > 0 && mass.sizeClass >= 0 && mass.sizeClass <= 3) ++placed[mass.sizeClass];
  return "seed " + std::to_string(host.LastSeed()) + ", map " +
         std::to_string(world.MapArray.Width()) + " x " + std::to_string(world.MapArray.Height()) +
         (wrap ? " wrapping" : "") + ", land " + std::to_string(land) + " squares, masses " +
         std::to_string(placed[0]) + " large, " + std::to_string(placed[1]) + " medium, " +
         std::to_string(placed[2]) + " small" + (placed[3] > 0 ? ", tiny islands" : "") +
         ", cities " + std::to_string(world.CityCount);
}

}  // namespace

int RunBuild(const BuildOptions& options) {
  platform::HeadlessPlatform platform;
  platform.SetClockSeed(ClockSeed());
  platform.SetDefaultQuestionAnswer(options.yes ? platform::MessageAnswer::kYes
                                                : platform::MessageAnswer::kNo);
  platform.OnMessage(PrintMessage);
  TerminalProgress progress;
  if (!options.quiet)
    platform.OnYield([&](platform::Window& w) { progress.Update(static_cast<ui::frmBuild&>(w)); });
  std::string settingsError;
  platform.AddModalAction([&](platform::Window& w) {
    auto& window = static_cast<ui::frmBuild&>(w);
    if (ApplySettingsOptions(window, platform, options.settings, settingsError))
      window.Controls().At("cmdBuild", 0).Click();
    else
      window.Controls().At("cmdCancel", 0).Click();
  });

  clsBuild host(platform);
  if (options.seed) host.SetNextSeed(*options.seed);
  const bool built = host.Build(static_cast<std::int16_t>(options.width),
                                static_cast<std::int16_t>(options.height), options.wrap);
  progress.Finish();
  if (!settingsError.empty()) {
    std::cerr << "lorvex: " << settingsError << "\n";
    return kFileError;
  }
  if (!built) {
    std::cerr << "lorvex: the window did not build a world\n";
    return kRefused;
  }

  const HostWorld& world = host.World();
  const exporting::WorldInfo info{options.wrap, host.LastSeed()};
  bool written = true;
  if (!options.textFile.empty())
    written &= WriteTo(options.textFile, [&](std::FILE* out, std::string& error) {
      return WriteString(out, exporting::WorldText(world), error);
    });
  if (!options.pngFile.empty())
    written &= WriteTo(options.pngFile, [&](std::FILE* out, std::string& error) {
      return exporting::WriteWorldPng(world, options.scale, out, error);
    });
  if (!options.jsonFile.empty())
    written &= WriteTo(options.jsonFile, [&](std::FILE* out, std::string& error) {
      return WriteString(out, exporting::WorldJson(world, info), error);
    });
  if (!options.tmxFile.empty()) {
    std::string error;
    if (!WriteTmx(world, options.wrap, host.LastSeed(), options.tmxFile, error)) {
      std::cerr << "lorvex: " << error << "\n";
      written = false;
    }
  }
  if (!options.quiet) {
    // The summary goes to standard output unless a format is written there.
    const bool stdoutTaken = options.textFile == "-" || options.pngFile == "-" || options.jsonFile == "-";
    (stdoutTaken ? std::cerr : std::cout) << Summary(host, options.wrap) << "\n";
  }
  return written ? kBuilt : kFileError;
}

}  // namespace lorvex::cli
