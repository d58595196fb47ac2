// The help of lorvex and of each command: every option told with its meaning and either its
// default or that it is required, the exit statuses, and examples that really run.
#include "apps/lorvex/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/cli_run.h"

namespace {

using lorvex::testing::CliFolder;
using lorvex::testing::CliRun;

TEST(Help, EveryOptionIsToldAndEveryExampleRuns) {
  const lorvex::cli::CommandLine commandLine;
  std::vector<std::pair<std::string, const CLI::App*>> commands = {{"", &commandLine.App()}};
  for (const CLI::App* sub : commandLine.App().get_subcommands([](const CLI::App*) { return true; }))
    commands.emplace_back(sub->get_name(), sub);
  ASSERT_EQ(commands.size(), 5u);  // the top level, build, settings, recommend, shapes
  for (const auto& [name, app] : commands) {
    const CliRun help = CliFolder().Run(name + " --help");
    EXPECT_EQ(help.status, 0) << name << help.err;
    EXPECT_NE(help.out.find("Exit status:"), std::string::npos) << name;
    for (const CLI::Option* option : app->get_options()) {
      EXPECT_NE(help.out.find(option->get_name()), std::string::npos) << name << " " << option->get_name();
      const std::string meaning = option->get_description();
      EXPECT_TRUE(option->get_required() || meaning.find("default") != std::string::npos ||
                  meaning.find("required") != std::string::npos || option->get_name() == "--help" ||
                  option->get_name() == "--version")
          << name << " " << option->get_name() << ": " << meaning;
    }
    std::istringstream footer(app->get_footer());
    int examples = 0;
    for (std::string line; std::getline(footer, line);) {
      if (line.rfind("  lorvex ", 0) != 0) continue;
      ++examples;
      const CliRun run = CliFolder("lorvex-example").Run(line.substr(9));
      EXPECT_EQ(run.status, 0) << line << "\n" << run.err;
    }
    EXPECT_GT(examples, 0) << name;
  }
}

}  // namespace
