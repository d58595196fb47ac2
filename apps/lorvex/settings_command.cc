#include "apps/lorvex/settings_command.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <functional>
#include <iostream>

#include "host/cls_build.h"
#include "params/settings_file.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex::cli {

namespace {

constexpr int kDone = 0;
constexpr int kNoRecommendation = 1;
constexpr int kFileError = 2;

// A message box's text, with the window's CRLF line breaks as plain line breaks.
void PrintMessage(const platform::ShownMessage& message) {
  std::string text = message.text;
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  std::cerr << text << "\n";
}

// Opens the window for a map of the given size (its default settings file applied, as
// always), runs `work` on it, and closes it without building. Answers whether the window
// opened and `work` ran to its end.
bool WithOpenWindow(platform::HeadlessPlatform& platform, int width, int height,
                    std::optional<std::uint64_t> seed,
                    const std::function<void(ui::frmBuild&)>& work) {
  platform.OnMessage(PrintMessage);
  bool ran = false;
  platform.AddModalAction([&](platform::Window& w) {
    auto& window = static_cast<ui::frmBuild&>(w);
    work(window);
    ran = true;
    window.Controls().At("cmdCancel", 0).Click();
  });
  clsBuild host(platform);
  if (seed) host.SetNextSeed(*seed);
  host.Build(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height), false);
  if (!ran) std::cerr << "lorvex: the parameters window did not open\n";
  return ran;
}

// Saves the window's parameters to FILE through the Save Settings dialog; a failure has
// already been told by the window's message box.
bool SaveThroughDialog(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                       const std::string& file) {
  platform.QueueFileAnswer(file);
  return window.Form().SaveSettings();
}

}  // namespace

void AddSettingsOptions(CLI::App& command, SettingsOptions& options) {
  command.add_option("--settings", options.settingsFile,
                     "load a settings file (.kst) as Load Settings does, after the default file");
  command.add_option("--set", options.lines,
                     "apply one settings line, e.g. \"txtLandMass(0) = 2\" (repeatable; "
                     "applied after --settings)");
}

bool ApplySettingsOptions(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                          const SettingsOptions& options, std::string& error) {
  params::ParameterForm& form = window.Form();
  if (!options.settingsFile.empty()) {
    // The window treats a missing file as nothing to load; here it is an error, so the
    // file is read once first to tell why it cannot be used.
    std::vector<params::SettingsLine> lines;
    std::string reason;
    if (!params::ReadSettingsFile(options.settingsFile, lines, reason)) {
      error = "cannot read settings file " + options.settingsFile + ": " + reason;
      return false;
    }
    platform.QueueFileAnswer(options.settingsFile);
    if (!form.LoadSettings()) {
      error = "cannot read settings file " + options.settingsFile;
      return false;
    }
  }
  for (const std::string& line : options.lines)
    if (!form.ApplySettingsLine(line))
      std::cerr << "lorvex: --set \"" << line << "\" matches no field; ignored\n";
  form.RevalidateAll();
  return true;
}

SettingsCommands::SettingsCommands(CLI::App& app) {
  settingsCommand_ =
      app.add_subcommand("settings", "write a settings file: the defaults, changed by --settings and --set");
  settingsCommand_
      ->add_option("--width", settingsOptions_.width, "map width in squares (default 100)")
      ->check(CLI::Range(1, kMaxMapSide));
  settingsCommand_
      ->add_option("--height", settingsOptions_.height, "map height in squares (default 60)")
      ->check(CLI::Range(1, kMaxMapSide));
  AddSettingsOptions(*settingsCommand_, settingsOptions_.settings);
  settingsCommand_->add_option("--save", settingsOptions_.saveFile, "the settings file to write")
      ->required();

  recommendCommand_ = app.add_subcommand(
      "recommend", "press Recommend for a map size and write the resulting settings file");
  recommendCommand_->add_option("--width", recommendOptions_.width, "map width in squares (1 to 4096)")
      ->required()
      ->check(CLI::Range(1, kMaxMapSide));
  recommendCommand_->add_option("--height", recommendOptions_.height, "map height in squares (1 to 4096)")
      ->required()
      ->check(CLI::Range(1, kMaxMapSide));
  recommendCommand_->add_option("--seed", recommendOptions_.seed,
                                "seed of the window's generator (default: from the clock)");
  AddSettingsOptions(*recommendCommand_, recommendOptions_.settings);
  recommendCommand_->add_option("--save", recommendOptions_.saveFile, "the settings file to write")
      ->required();
}

std::optional<int> SettingsCommands::Run() const {
  if (settingsCommand_->parsed()) return RunSettings();
  if (recommendCommand_->parsed()) return RunRecommend();
  return std::nullopt;
}

int SettingsCommands::RunSettings() const {
  const Options& options = settingsOptions_;
  platform::HeadlessPlatform platform;
  int status = kDone;
  const bool ran = WithOpenWindow(platform, options.width, options.height, std::nullopt, [&](ui::frmBuild& window) {
    std::string error;
    if (!ApplySettingsOptions(window, platform, options.settings, error)) {
      std::cerr << "lorvex: " << error << "\n";
      status = kFileError;
    } else if (!SaveThroughDialog(window, platform, options.saveFile)) {
      status = kFileError;
    }
  });
  return ran ? status : kFileError;
}

int SettingsCommands::RunRecommend() const {
  const Options& options = recommendOptions_;
  platform::HeadlessPlatform platform;
  platform.SetClockSeed(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  int status = kDone;
  const bool ran = WithOpenWindow(platform, options.width, options.height, options.seed, [&](ui::frmBuild& window) {
    std::string error;
    if (!ApplySettingsOptions(window, platform, options.settings, error)) {
      std::cerr << "lorvex: " << error << "\n";
      status = kFileError;
    } else if (!window.Form().cmdDefaults_Click()) {
      status = kNoRecommendation;  // the window's message is already printed
    } else if (!SaveThroughDialog(window, platform, options.saveFile)) {
      status = kFileError;
    } else {
      std::cout << window.StatusBar().Panel(params::kLandFigurePanel).text << "\n";
    }
  });
  return ran ? status : kFileError;
}

}  // namespace lorvex::cli
