#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/apps/cli_run.h"

namespace {

// The command-line host, run as a person runs it.
using namespace lorvex::testing;

// Bad options, sizes outside 1 .. 4096 (or under Freeciv's 16 x 16 for its scenario), a
// world without land for a scenario and settings files that cannot be read exit with 2 and
// a message naming them; a question answered No refuses the build with the window's message
// and exits with 1. Either way nothing is written, a batch not even its folder.
TEST(Cli, ExitStatusesAndMessages) {
  std::string noLand;
  for (int field : {0, 1, 6, 7, 12, 13, 18, 19}) noLand += " --set 'txtLandMass(" + std::to_string(field) + ") = 0'";
  const struct { std::string arguments; int status; const char* told; } rows[] = {
      {"build --width 0 --height 10", 2, "--width"},
      {"build --width 10 --height 4097", 2, "--height"},
      {"build --width 10 --height 10 --scale 0", 2, "--scale"},
      {"build --width 99999999999999999999 --height 10", 2, "--width"},
      {"build --width 10 --height 10 --seed -1", 2, "--seed"},
      {"recommend --width 10 --height 10 --seed 18446744073709551616 --save r.kst", 2, "--seed"},
      {"frobnicate", 2, "frobnicate"},
      {"build --width 10 --height 10 --seed 1", 1,
       "Warning: Average Land % is Greater than 50%.  This may take\nan unusually long time to complete.  Continue with Build?"},
      {"shapes --png g.png --squares 0", 2, "--squares"},
      {"shapes --png g.png --squares 10000", 2, "--squares"},
      {"shapes --png g.png --orient 8", 2, "--orient"},
      {"settings --settings none.kst --save out.kst", 2, "none.kst"},
      {"settings --set 'nothing(1) = 2' --save out.kst", 2, "nothing(1) = 2"},
      {"recommend --width 1 --height 1 --seed 1 --save r.kst", 1, "Failed to Recommend Good Parameters"},
      {"build --width 9 --height 9 --count 0 --out o", 2, "--count"},
      {"build --width 9 --height 9 --count 2", 2, "--out"},
      {"build --width 9 --height 9 --count 2 --out o --formats gif", 2, "gif"},
      {"build --width 9 --height 9 --count 2 --out o --png w.png", 2, "--png"},
      {"build --width 15 --height 40 --seed 1 --yes --freeciv w.sav --text w.txt", 2, "Freeciv takes maps of at least 16 x 16"},
      {"build --width 40 --height 12 --seed 1 --yes --count 2 --out o --formats text,freeciv", 2, "at least 16 x 16"},
      {"build --width 40 --height 30 --seed 1 --yes --freeciv w.sav --text w.txt" + noLand, 2, "Freeciv cannot play a world without land"},
  };
  for (const auto& row : rows) {
    CliFolder folder;
    const CliRun run = folder.Run(row.arguments);
    EXPECT_EQ(run.status, row.status) << row.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(row.told), std::string::npos) << row.arguments << "\n" << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << row.arguments;
  }
  EXPECT_EQ(CliFolder().Run("build --width 10 --height 10 --seed 1 --yes --quiet").status, 0);
  const CliRun version = CliFolder().Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("1.1.3"), std::string::npos);
}

// `lorvex settings` writes the set after --settings and each --set, revalidated; `lorvex
// recommend` writes Recommend's set. (The Python test builds with both against the package.)
TEST(Cli, SettingsAndRecommendWriteTheirSets) {
  CliFolder folder;
  WriteFile(folder / "in.kst", "txtLandMass(0) = 1\ntxtLandMass(1) = 1\ntxtTerrain(1) = 1\n");
  const CliRun run = folder.Run("settings --settings in.kst --set 'txtAlgorithm(0) = 0' --save out.kst");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadFile(folder / "out.kst");
  for (const char* line : {"txtLandMass(0) = 1\r\ntxtLandMass(1) = 1\r\n", "\r\ntxtTerrain(1) = 5\r\n", "\r\ntxtAlgorithm(0) = 1\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  ASSERT_EQ(folder.Run("recommend --width 200 --height 150 --seed 4 --save a.kst").status, 0);
  EXPECT_NE(ReadFile(folder / "a.kst").find("\r\ntxtLandMass(4) = 5\r\n"), std::string::npos);  // as the C interface
}

}  // namespace
