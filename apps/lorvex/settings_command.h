// Settings on the command line, through the same buttons a person presses in the window:
// the --settings and --set options of `build`, `settings` and `recommend`, and the two
// commands `lorvex settings` (write a settings file) and `lorvex recommend` (press
// Recommend for a map size and write the result).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace lorvex::platform {
class HeadlessPlatform;
}
namespace lorvex::ui {
class frmBuild;
}

namespace lorvex::cli {

struct SettingsOptions {
  std::string settingsFile;        // loaded as Load Settings loads it
  std::vector<std::string> lines;  // each applied as one line of a settings file
};

// Adds --settings FILE and --set LINE (repeatable) to a command.
void AddSettingsOptions(CLI::App& command, SettingsOptions& options);

// Applies the options to an open window: Load Settings with FILE chosen in its dialog, then
// every --set line, then the fields revalidated. Answers false, with the reason, when the
// settings file cannot be read (no field is changed then). A --set line that matches no
// field is ignored with a note on standard error.
bool ApplySettingsOptions(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                          const SettingsOptions& options, std::string& error);

// `lorvex settings` and `lorvex recommend`, registered on the application.
class SettingsCommands {
 public:
  // The options are bound to this object's members: it stays where it was made.
  explicit SettingsCommands(CLI::App& app);
  SettingsCommands(const SettingsCommands&) = delete;
  SettingsCommands& operator=(const SettingsCommands&) = delete;
  // The exit status of the command that was given, or nothing when neither was.
  // settings: 0 written, 2 a file could not be read or written.
  // recommend: 0 written, 1 no recommendation found, 2 a file could not be read or written.
  std::optional<int> Run() const;

 private:
  struct Options {
    int width = 100;
    int height = 60;
    std::optional<std::uint64_t> seed;
    SettingsOptions settings;
    std::string saveFile;
  };
  int RunSettings() const;
  int RunRecommend() const;

  CLI::App* settingsCommand_;
  CLI::App* recommendCommand_;
  Options settingsOptions_;
  Options recommendOptions_;
};

}  // namespace lorvex::cli
