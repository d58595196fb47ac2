// lorvex, the command-line host: it drives the component as a host game would (clsBuild
// over the headless window), presses the window's buttons, and writes what the host's
// queries answer.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "apps/lorvex/build_command.h"
#include "apps/lorvex/settings_command.h"
#include "apps/lorvex/shapes_command.h"
#include "common/version.h"
#include "host/cls_build.h"

namespace {

constexpr int kUsageError = 2;

void AddBuildOptions(CLI::App& command, lorvex::cli::BuildOptions& options) {
  command.add_option("--width", options.width, "map width in squares (1 to 4096)")
      ->required()
      ->check(CLI::Range(1, lorvex::kMaxMapSide));
  command.add_option("--height", options.height, "map height in squares (1 to 4096)")
      ->required()
      ->check(CLI::Range(1, lorvex::kMaxMapSide));
  command.add_flag("--wrap", options.wrap, "the map wraps east-west");
  command.add_option("--seed", options.seed, "seed of the build (default: from the clock)");
  command.add_flag("--yes", options.yes, "answer Yes to the window's questions (default No)");
  command.add_option("--text", options.textFile, "write the map as text, one line per row (- = stdout)");
  command.add_option("--png", options.pngFile, "write the map as a PNG picture (- = stdout)");
  command.add_option("--json", options.jsonFile, "write the world as JSON (- = stdout)");
  command.add_option("--tmx", options.tmxFile,
                     "write the world as a Tiled map (its tileset picture is written beside it)");
  command.add_option("--scale", options.scale, "pixels per square in the PNG (default 4)")
      ->check(CLI::Range(1, 64));
  command.add_flag("--quiet", options.quiet, "print no summary line");
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Lorvex " + std::string(lorvex::kVersionText) +
               " - a random world builder for turn-based strategy games"};
  app.set_version_flag("--version", std::string("lorvex ") + lorvex::kVersionText);
  app.require_subcommand(0, 1);

  lorvex::cli::BuildOptions buildOptions;
  CLI::App* build = app.add_subcommand("build", "build one world and write it out");
  AddBuildOptions(*build, buildOptions);
  lorvex::cli::AddSettingsOptions(*build, buildOptions.settings);
  lorvex::cli::SettingsCommands settingsCommands(app);

  lorvex::cli::ShapesOptions shapesOptions;
  CLI::App* shapes = app.add_subcommand("shapes", "draw the 24 figures of the Shapes algorithm");
  shapes->add_option("--png", shapesOptions.pngFile, "write the figures as a PNG picture (- = stdout)")
      ->required();
  shapes->add_option("--squares", shapesOptions.squares, "squares of each figure (1 to 9999, default 400)")
      ->check(CLI::Range(1, 9999));
  shapes->add_option("--orient", shapesOptions.orientation, "orientation of the figures (0 to 7, default 0)")
      ->check(CLI::Range(0, 7));

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsageError;
  }

  if (build->parsed()) return lorvex::cli::RunBuild(buildOptions);
  if (const std::optional<int> status = settingsCommands.Run()) return *status;
  if (shapes->parsed()) return lorvex::cli::RunShapes(shapesOptions);
  std::cout << app.help();
  return 0;
}
