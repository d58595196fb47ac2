// The command line of lorvex: its commands, their options with meaning, range and default,
// and the checks the options get before anything runs. Parsing ends either with one
// chosen command and its options, or with an exit status (help, version, usage error).
#pragma once

#include <CLI/CLI.hpp>
#include <optional>

#include "apps/lorvex/build_command.h"
#include "apps/lorvex/settings_command.h"
#include "apps/lorvex/shapes_command.h"

namespace lorvex::cli {

enum class Command { kNone, kBuild, kBatch, kSettings, kRecommend, kShapes };

class CommandLine {
 public:
  CommandLine();
  // The options are bound to this object's members: it stays where it was made.
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // Parses the arguments. Answers an exit status when the run ends here: 0 after the help
  // or the version was printed, 2 after a usage error was told on standard error.
  std::optional<int> Parse(int argc, const char* const* argv);

  Command Chosen() const;
  const BuildOptions& Build() const { return build_; }
  const SettingsCommandOptions& Settings() const { return settings_; }
  const SettingsCommandOptions& Recommend() const { return recommend_; }
  const ShapesOptions& Shapes() const { return shapes_; }

  // The application with its commands, for the help texts.
  const CLI::App& App() const { return app_; }

 private:
  CLI::App app_;
  CLI::App* buildCommand_;
  CLI::App* settingsCommand_;
  CLI::App* recommendCommand_;
  CLI::App* shapesCommand_;
  BuildOptions build_;
  SettingsCommandOptions settings_;
  SettingsCommandOptions recommend_;
  ShapesOptions shapes_;
};

}  // namespace lorvex::cli
