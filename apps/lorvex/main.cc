// lorvex, the command-line host: it drives the component as a host game would (clsBuild
// over the headless window), presses the window's buttons, and writes what the host's
// queries answer. The options and their checks are in command_line.cc; each command is
// one call.
#include "apps/lorvex/batch_command.h"
#include "apps/lorvex/build_command.h"
#include "apps/lorvex/command_line.h"
#include "apps/lorvex/settings_command.h"
#include "apps/lorvex/shapes_command.h"

#include <iostream>

int main(int argc, char** argv) {
  using namespace lorvex::cli;
  CommandLine commandLine;
  if (const std::optional<int> status = commandLine.Parse(argc, argv)) return *status;
  switch (commandLine.Chosen()) {
    case Command::kBuild: return RunBuild(commandLine.Build());
    case Command::kBatch: return RunBatch(commandLine.Build());
    case Command::kSettings: return RunSettings(commandLine.Settings());
    case Command::kRecommend: return RunRecommend(commandLine.Recommend());
    case Command::kShapes: return RunShapes(commandLine.Shapes());
    case Command::kNone: break;
  }
  std::cout << commandLine.App().help();
  return 0;
}
