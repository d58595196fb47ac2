// The command-line host, run as a person runs it.
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/apps/cli_run.h"

namespace {

using lorvex::testing::CliRun;

// Runs lorvex with the arguments in a fresh temporary folder (so no settings file of an
// earlier run is found).
CliRun Lorvex(const std::string& arguments) {
  const lorvex::testing::CliFolder folder;
  return folder.Run(arguments);
}

TEST(Cli, VersionAndHelp) {
  const CliRun version = Lorvex("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("1.1.3"), std::string::npos);
  const CliRun help = Lorvex("build --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--width"), std::string::npos);
}

TEST(Cli, UsageErrorsExitWith2) {
  for (const char* args : {"build --width 0 --height 10", "build --width 10 --height 4097",
                           "build --width abc --height 10", "build --width 10",
                           "build --width 2.5 --height 10", "build --width 10 --height 10 --scale 0",
                           "build --width 99999999999999999999 --height 10", "frobnicate"}) {
    const CliRun run = Lorvex(args);
    EXPECT_EQ(run.status, 2) << args << "\n" << run.err;
    EXPECT_FALSE(run.err.empty()) << args;
  }
}

TEST(Cli, OneSeedBuildsOneWorldAndTheJsonDescribesIt) {
  const CliRun a = Lorvex("build --width 80 --height 50 --wrap --seed 42 --yes --json - --quiet");
  const CliRun b = Lorvex("build --width 80 --height 50 --wrap --seed 42 --yes --json - --quiet");
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  const nlohmann::json doc = nlohmann::json::parse(a.out);
  EXPECT_EQ(doc["width"], 80);
  EXPECT_EQ(doc["height"], 50);
  EXPECT_EQ(doc["wrap"], true);
  EXPECT_EQ(doc["seed"], 42);
  ASSERT_EQ(doc["terrain"].size(), 50u);
  EXPECT_EQ(doc["terrain"][0].get<std::string>(), std::string(80, 'T'));
  EXPECT_EQ(doc["terrain"][49].get<std::string>(), std::string(80, 'B'));
  long long land = 0, counted = 0;
  for (const auto& row : doc["terrain"])
    for (char c : row.get<std::string>()) land += std::string("TBAS").find(c) == std::string::npos;
  for (const auto& mass : doc["masses"]) counted += mass["squares"].get<long long>();
  EXPECT_EQ(counted, land);
  // Cities in the host's order: column-major.
  const auto& cities = doc["cities"];
  for (std::size_t k = 1; k < cities.size(); ++k) {
    const int x0 = cities[k - 1]["x"], y0 = cities[k - 1]["y"], x1 = cities[k]["x"], y1 = cities[k]["y"];
    EXPECT_TRUE(x0 < x1 || (x0 == x1 && y0 < y1));
  }
  const CliRun other = Lorvex("build --width 80 --height 50 --wrap --seed 43 --yes --json - --quiet");
  EXPECT_NE(a.out, other.out);
}

TEST(Cli, TextHasOneLinePerRowAndTheSummaryNamesTheSeed) {
  const CliRun run = Lorvex("build --width 30 --height 20 --seed 7 --yes --text -");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  int rows = 0;
  while (std::getline(lines, line)) {
    EXPECT_EQ(line.size(), 30u);
    ++rows;
  }
  EXPECT_EQ(rows, 20);
  // stdout carries the map, stderr the summary line.
  EXPECT_TRUE(std::regex_search(run.err, std::regex("(^|\n)seed 7, map 30 x 20, land [0-9]+ squares, masses [0-9]+ large, "
                                                    "[0-9]+ medium, [0-9]+ small(, tiny islands [0-9]+ squares)?, "
                                                    "cities [0-9]+\n")))
      << run.err;
}

TEST(Cli, AQuestionAnsweredNoRefusesTheBuildWithTheWindowsMessage) {
  // The default land asks far more than half of a 10 x 10 map: the window warns.
  const CliRun run = Lorvex("build --width 10 --height 10 --seed 1");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Warning: Average Land % is Greater than 50%.  This may take\n"
                         "an unusually long time to complete.  Continue with Build?"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Lorvex("build --width 10 --height 10 --seed 1 --yes --quiet").status, 0);
}

TEST(Cli, AFileThatCannotBeWrittenExitsWith2) {
  const CliRun run = Lorvex("build --width 20 --height 20 --seed 1 --yes --png /nonexistent/dir/w.png");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("/nonexistent/dir/w.png"), std::string::npos);
}

TEST(Cli, PngStartsWithTheSignatureAndHasTheScaledSize) {
  const CliRun run = Lorvex("build --width 30 --height 20 --seed 3 --yes --png - --scale 3 --quiet");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_GT(run.out.size(), 24u);
  EXPECT_EQ(run.out.substr(1, 3), "PNG");
  const auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(run.out[at]) << 24) | (static_cast<unsigned char>(run.out[at + 1]) << 16) |
           (static_cast<unsigned char>(run.out[at + 2]) << 8) | static_cast<unsigned char>(run.out[at + 3]);
  };
  EXPECT_EQ(be32(16), 90);  // IHDR width
  EXPECT_EQ(be32(20), 60);  // IHDR height
}

}  // namespace
