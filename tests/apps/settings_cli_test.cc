// The command line's settings: --settings and --set of `build`, `lorvex settings` and
// `lorvex recommend`, run as a person runs them, in a folder of their own.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/apps/cli_run.h"

namespace {

namespace fs = std::filesystem;
using lorvex::testing::CliRun;
using lorvex::testing::ReadFile;

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A fresh folder for one test; lorvex runs with it as the current directory.
struct CliFolder : lorvex::testing::CliFolder {
  CliFolder() : lorvex::testing::CliFolder("lorvex-settings-cli") {}
};

std::size_t CountLines(const std::string& text) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++n;
  return n;
}

TEST(SettingsCli, SettingsWritesTheParameterSetWithTheChangesRevalidated) {
  CliFolder folder;
  WriteFile(folder / "in.kst", "txtLandMass(0) = 2\ntxtTerrain(1) = 1\n");
  const CliRun run = folder.Run(
      "settings --settings in.kst --set 'txtAlgorithm(0) = 0' --set 'chkShape(2) = 0' --save out.kst");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadFile(folder / "out.kst");
  EXPECT_EQ(CountLines(text), 103u);
  EXPECT_EQ(text.substr(0, 20), "txtLandMass(0) = 2\r\n");
  EXPECT_NE(text.find("\r\ntxtTerrain(1) = 5\r\n"), std::string::npos);   // raised to its Lo
  EXPECT_NE(text.find("\r\ntxtAlgorithm(0) = 1\r\n"), std::string::npos); // clamped
  EXPECT_NE(text.find("\r\nchkShape(2) = 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\ncboPlacement(0) = 0\r\n"), std::string::npos);

  // The written file is a settings file like any other: loading it gives it back.
  const CliRun again = folder.Run("settings --settings out.kst --save again.kst");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(ReadFile(folder / "again.kst"), text);
}

TEST(SettingsCli, TheDefaultFileIsAppliedFirst) {
  CliFolder folder;
  fs::create_directory(folder / "kessett");
  WriteFile(folder / "kessett" / "default.kst", "txtCities(0) = 7\r\ntxtCities(1) = 9\r\n");
  const CliRun run = folder.Run("settings --set 'txtCities(1) = 8' --save out.kst");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadFile(folder / "out.kst");
  EXPECT_NE(text.find("\r\ntxtCities(0) = 7\r\ntxtCities(1) = 8\r\n"), std::string::npos) << text;
}

TEST(SettingsCli, FilesThatCannotBeReadOrWrittenExitWith2) {
  CliFolder folder;
  const CliRun missing = folder.Run("settings --settings none.kst --save out.kst");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("none.kst"), std::string::npos) << missing.err;
  EXPECT_FALSE(fs::exists(folder / "out.kst"));

  fs::create_directory(folder / "dir.kst");
  const CliRun directory = folder.Run("build --width 30 --height 20 --seed 1 --yes --settings dir.kst");
  EXPECT_EQ(directory.status, 2);
  EXPECT_NE(directory.err.find("dir.kst"), std::string::npos) << directory.err;

  WriteFile(folder / "plain", "not a folder");
  const CliRun unwritable = folder.Run("settings --save plain/out.kst");
  EXPECT_EQ(unwritable.status, 2);
  EXPECT_NE(unwritable.err.find("Could not save settings to plain/out.kst: Not a directory"),
            std::string::npos)
      << unwritable.err;

  const CliRun usage = folder.Run("settings");  // --save is required
  EXPECT_EQ(usage.status, 2);

  const CliRun unknown = folder.Run("settings --set 'nothing(1) = 2' --save out.kst");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("nothing(1) = 2"), std::string::npos) << unknown.err;
  EXPECT_FALSE(fs::exists(folder / "out.kst"));
}

TEST(SettingsCli, BuildUsesTheSettingsFileAndTheSetLines) {
  CliFolder folder;
  const std::string base = "build --width 60 --height 40 --seed 9 --yes --quiet --json -";
  const CliRun plain = folder.Run(base);
  ASSERT_EQ(plain.status, 0) << plain.err;
  // One Large mass and no others: a different world from the same seed.
  WriteFile(folder / "one.kst",
            "txtLandMass(0) = 1\r\ntxtLandMass(1) = 1\r\ntxtLandMass(6) = 0\r\ntxtLandMass(7) = 0\r\n"
            "txtLandMass(12) = 0\r\ntxtLandMass(13) = 0\r\n");
  const CliRun withFile = folder.Run(base + " --settings one.kst");
  ASSERT_EQ(withFile.status, 0) << withFile.err;
  EXPECT_NE(withFile.out, plain.out);
  const CliRun withLines = folder.Run(
      base + " --set 'txtLandMass(0) = 1' --set 'txtLandMass(1) = 1' --set 'txtLandMass(6) = 0'"
             " --set 'txtLandMass(7) = 0' --set 'txtLandMass(12) = 0' --set 'txtLandMass(13) = 0'");
  ASSERT_EQ(withLines.status, 0) << withLines.err;
  EXPECT_EQ(withLines.out, withFile.out);
  // A --set after --settings has the last word.
  const CliRun overridden = folder.Run(base + " --settings one.kst --set 'txtLandMass(1) = 3'");
  ASSERT_EQ(overridden.status, 0) << overridden.err;
  EXPECT_NE(overridden.out, withFile.out);
}

TEST(SettingsCli, RecommendWritesAConsistentSetForTheMapSize) {
  CliFolder folder;
  const CliRun a = folder.Run("recommend --width 200 --height 150 --seed 4 --save a.kst");
  const CliRun b = folder.Run("recommend --width 200 --height 150 --seed 4 --save b.kst");
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_EQ(ReadFile(folder / "a.kst"), ReadFile(folder / "b.kst"));
  EXPECT_EQ(a.out.substr(0, 7), "Land = ");
  const std::string text = ReadFile(folder / "a.kst");
  EXPECT_EQ(CountLines(text), 103u);
  EXPECT_EQ(text.find("txtLandMass(2) = 400\r\n"), std::string::npos);  // not the default
  EXPECT_NE(text.find("\r\ntxtLandMass(4) = 5\r\n"), std::string::npos);  // borders kept

  const CliRun other = folder.Run("recommend --width 200 --height 150 --seed 5 --save c.kst");
  ASSERT_EQ(other.status, 0) << other.err;
  EXPECT_NE(ReadFile(folder / "c.kst"), text);
}

TEST(SettingsCli, RecommendOnAMapWithoutRoomSaysSoAndExitsWith1) {
  CliFolder folder;
  int failures = 0;
  for (int seed = 1; seed <= 8; ++seed) {
    const std::string file = "r" + std::to_string(seed) + ".kst";
    const CliRun run =
        folder.Run("recommend --width 1 --height 1 --seed " + std::to_string(seed) + " --save " + file);
    ASSERT_TRUE(run.status == 0 || run.status == 1) << run.err;
    if (run.status == 1) {
      ++failures;
      EXPECT_NE(run.err.find("Failed to Recommend Good Parameters"), std::string::npos) << run.err;
      EXPECT_FALSE(fs::exists(folder / file));
    } else {
      EXPECT_TRUE(fs::exists(folder / file));
    }
  }
  EXPECT_GT(failures, 0);
}

}  // namespace
