// The help of lorvex and of each command: every option told with its meaning and either
// its default or that it is required, the exit statuses, and examples that really run.
#include "apps/lorvex/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/cli_run.h"

namespace {

using lorvex::cli::CommandLine;
using lorvex::testing::CliFolder;
using lorvex::testing::CliRun;

struct Command {
  std::string name;  // empty for the top level
  const CLI::App* app;
};

std::vector<Command> AllCommands(const CommandLine& commandLine) {
  std::vector<Command> commands = {{"", &commandLine.App()}};
  for (const CLI::App* sub : commandLine.App().get_subcommands([](const CLI::App*) { return true; }))
    commands.push_back({sub->get_name(), sub});
  return commands;
}

// The example lines of a help footer: those that start with "  lorvex ".
std::vector<std::string> Examples(const std::string& footer) {
  std::vector<std::string> examples;
  std::istringstream lines(footer);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("  lorvex ", 0) == 0) examples.push_back(line.substr(std::string("  lorvex ").size()));
  return examples;
}

TEST(Help, EveryOptionIsToldWithItsMeaningAndDefault) {
  const CommandLine commandLine;
  const std::vector<Command> commands = AllCommands(commandLine);
  ASSERT_EQ(commands.size(), 5u);  // the top level, build, settings, recommend, shapes
  for (const Command& command : commands) {
    const std::string help = command.app->help();
    for (const CLI::Option* option : command.app->get_options()) {
      const std::string name = option->get_name();
      if (name == "--help") continue;
      EXPECT_NE(help.find(name), std::string::npos) << command.name << " " << name;
      const std::string meaning = option->get_description();
      EXPECT_GE(meaning.size(), 15u) << command.name << " " << name << ": " << meaning;
      // A value is either required or has a default the help names; a flag says what
      // happens without it.
      const bool told = option->get_required() || meaning.find("default") != std::string::npos ||
                        meaning.find("required") != std::string::npos || name == "--version";
      EXPECT_TRUE(told) << command.name << " " << name << ": " << meaning;
    }
    const std::string footer = command.app->get_footer();
    EXPECT_NE(footer.find("Exit status:"), std::string::npos) << command.name;
    EXPECT_NE(footer.find("  0  "), std::string::npos) << command.name;
    EXPECT_NE(footer.find("  2  "), std::string::npos) << command.name;
    EXPECT_FALSE(Examples(footer).empty()) << command.name;
  }
}

TEST(Help, EachCommandsHelpExitsWith0AndNamesEveryOption) {
  const CommandLine commandLine;
  const CliFolder folder("lorvex-help");
  for (const Command& command : AllCommands(commandLine)) {
    for (const std::string flag : {"--help", "-h"}) {
      const CliRun run = folder.Run(command.name + " " + flag);
      EXPECT_EQ(run.status, 0) << command.name << run.err;
      EXPECT_EQ(run.err, "") << command.name;
      for (const CLI::Option* option : command.app->get_options())
        EXPECT_NE(run.out.find(option->get_name()), std::string::npos)
            << command.name << " " << flag << " does not name " << option->get_name();
      EXPECT_NE(run.out.find("Exit status:"), std::string::npos) << command.name;
    }
  }
  // No command at all prints the top-level help.
  const CliRun bare = folder.Run("");
  EXPECT_EQ(bare.status, 0);
  EXPECT_NE(bare.out.find("Subcommands:"), std::string::npos) << bare.out;
}

TEST(Help, EveryExampleRuns) {
  const CommandLine commandLine;
  for (const Command& command : AllCommands(commandLine))
    for (const std::string& example : Examples(command.app->get_footer())) {
      const CliFolder folder("lorvex-example");
      const CliRun run = folder.Run(example);
      EXPECT_EQ(run.status, 0) << "lorvex " << example << "\n" << run.err;
    }
}

}  // namespace
