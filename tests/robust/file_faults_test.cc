// Saving and loading settings, and writing a world, when the file system fails at each
// step: creating the file, writing it, flushing it, closing it, renaming it into place; and
// a settings file that vanishes before it is read or cannot be read. A failed save leaves
// the old file exactly as it was, leaves no partial file, and says which file and why (the
// window in a message box, the command line on standard error with exit status 2); a failed
// load applies none of its lines.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "platform/headless_platform.h"
#include "support/io_faults.h"
#include "support/parameter_values.h"
#include "tests/params/form_fixture.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;
using lorvex::testing::CliFolder;
using lorvex::testing::CliRun;
using lorvex::testing::ReadFile;
using lorvex::testing::ScopedIoFault;
using lorvex::testing::WriteFile;
using params::testing::InEmptyDirectory;

struct SaveFault {
  const char* step;
  const char* reason;
};

// Each step of a save, with the reason the system gives for its failure.
constexpr SaveFault kSaveFaults[] = {
    {"create", "Read-only file system"},   {"write", "No space left on device"},
    {"flush", "Disk quota exceeded"},      {"close", "Input/output error"},
    {"rename", "Device or resource busy"},
};

// The names in a folder, sorted: a failed write leaves no partial file behind.
std::string Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const std::string& name : names) listing += name + " ";
  return listing;
}

// The environment that puts the fault library in front of the command-line tool.
std::string FaultEnvironment(const std::string& step, const std::string& pathText) {
  return "LD_PRELOAD='" LORVEX_IO_FAULTS_PATH "' LORVEX_IO_FAULT='" + step + ":" + pathText + "'";
}

TEST(FileFaults, AFailedSaveInTheWindowKeepsTheOldFileAndSaysWhy) {
  InEmptyDirectory dir;
  fs::create_directory("kessett");
  for (const SaveFault& fault : kSaveFaults) {
    for (const bool oldFile : {true, false}) {
      const std::string what = std::string(fault.step) + (oldFile ? ", over an old file" : "");
      fs::remove("kessett/x.kst");
      if (oldFile) WriteFile("kessett/x.kst", "old contents\r\n");
      platform::HeadlessPlatform platform;
      ui::frmBuild window(platform);
      platform.QueueFileAnswer("kessett/x.kst");
      {
        ScopedIoFault armed(fault.step, "x.kst");
        window.Controls().At("cmdSave", 0).Click();
        EXPECT_GT(armed.Hits(), 0) << what;
      }
      if (oldFile) {
        EXPECT_EQ(ReadFile("kessett/x.kst"), "old contents\r\n") << what;
        EXPECT_EQ(Listing("kessett"), "x.kst ") << what;
      } else {
        EXPECT_EQ(Listing("kessett"), "") << what;
      }
      ASSERT_EQ(platform.Messages().size(), 1u) << what;
      EXPECT_EQ(platform.Messages()[0].text,
                std::string("Could not save settings to kessett/x.kst: ") + fault.reason)
          << what;
      EXPECT_EQ(platform.Messages()[0].buttons, platform::MessageButtons::kOk) << what;
    }
  }
  // Disarmed, the same save goes through: the faults came from the steps, not the test.
  platform::HeadlessPlatform platform;
  ui::frmBuild window(platform);
  platform.QueueFileAnswer("kessett/x.kst");
  window.Controls().At("cmdSave", 0).Click();
  EXPECT_TRUE(platform.Messages().empty());
  EXPECT_EQ(ReadFile("kessett/x.kst").substr(0, 20), "txtLandMass(0) = 3\r\n");
}

TEST(FileFaults, ALoadThatCannotReadTheFileChangesNoField) {
  InEmptyDirectory dir;
  fs::create_directory("kessett");
  fs::create_directory("kessett/folder.kst");
  struct Case {
    const char* what;
    const char* step;  // the fault armed for kessett/y.kst, or "" for none
    const char* file;
  };
  const Case cases[] = {
      {"deleted between the dialog and the read", "vanish", "kessett/y.kst"},
      {"a read error", "read", "kessett/y.kst"},
      {"a folder", "", "kessett/folder.kst"},
  };
  for (const Case& c : cases) {
    WriteFile("kessett/y.kst", "txtLandMass(0) = 1\r\nchkAlgorithm(0) = 0\r\ncboPlacement(0) = 2\r\n");
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    const checks::ParameterValues before = checks::ReadParameterValues(window.Controls());
    platform.QueueFileAnswer(c.file);
    {
      ScopedIoFault armed(c.step, "y.kst");
      window.Controls().At("cmdLoad", 0).Click();
      if (*c.step != '\0') {
        EXPECT_GT(armed.Hits(), 0) << c.what;
      }
    }
    EXPECT_EQ(checks::FirstDifference(before, checks::ReadParameterValues(window.Controls())), "")
        << c.what;
  }
  if (::geteuid() != 0) {
    WriteFile("kessett/locked.kst", "txtLandMass(0) = 1\r\n");
    fs::permissions("kessett/locked.kst", fs::perms::none);
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    const checks::ParameterValues before = checks::ReadParameterValues(window.Controls());
    platform.QueueFileAnswer("kessett/locked.kst");
    window.Controls().At("cmdLoad", 0).Click();
    EXPECT_EQ(checks::FirstDifference(before, checks::ReadParameterValues(window.Controls())), "");
  }
}

TEST(FileFaults, AFailedSettingsSaveOnTheCommandLineExitsWith2AndKeepsTheOldFile) {
  for (const SaveFault& fault : kSaveFaults) {
    CliFolder folder("io-faults");
    WriteFile(folder / "out.kst", "old contents\r\n");
    const CliRun run = folder.Run("settings --save out.kst",
                                  FaultEnvironment(fault.step, "out.kst"));
    EXPECT_EQ(run.status, 2) << fault.step << ": " << run.err;
    EXPECT_NE(run.err.find(std::string("Could not save settings to out.kst: ") + fault.reason),
              std::string::npos)
        << fault.step << ": " << run.err;
    EXPECT_EQ(ReadFile(folder / "out.kst"), "old contents\r\n") << fault.step;
    EXPECT_EQ(Listing(folder.Path()), "out.kst ") << fault.step;
  }
}

TEST(FileFaults, AFailedWorldWriteOnTheCommandLineExitsWith2AndKeepsTheOldFile) {
  const char* outputs[][2] = {{"--text", "world.txt"}, {"--json", "world.json"}, {"--png", "world.png"},
                              {"--freeciv", "world.sav"}};
  for (const SaveFault& fault : kSaveFaults) {
    for (const auto& output : outputs) {
      const std::string what = std::string(fault.step) + " " + output[0];
      CliFolder folder("io-faults");
      WriteFile(folder / output[1], "old world");
      const CliRun run = folder.Run(
          std::string("build --width 30 --height 20 --seed 5 --yes --quiet ") + output[0] + " " + output[1],
          FaultEnvironment(fault.step, output[1]));
      EXPECT_EQ(run.status, 2) << what << ": " << run.err;
      EXPECT_NE(run.err.find(output[1]), std::string::npos) << what << ": " << run.err;
      EXPECT_NE(run.err.find(fault.reason), std::string::npos) << what << ": " << run.err;
      EXPECT_EQ(ReadFile(folder / output[1]), "old world") << what;
      EXPECT_EQ(Listing(folder.Path()), std::string(output[1]) + " ") << what;
    }
  }
}

TEST(FileFaults, ASettingsFileTheBuildCannotReadStopsTheBuildWithExit2) {
  struct Case {
    const char* step;
    const char* reason;
  };
  for (const Case& c : {Case{"vanish", "No such file or directory"}, Case{"read", "Input/output error"}}) {
    CliFolder folder("io-faults");
    WriteFile(folder / "in.kst", "txtLandMass(0) = 1\r\n");
    const CliRun run = folder.Run("build --width 30 --height 20 --seed 5 --yes --quiet "
                                  "--settings in.kst --text world.txt",
                                  FaultEnvironment(c.step, "in.kst"));
    EXPECT_EQ(run.status, 2) << c.step << ": " << run.err;
    EXPECT_NE(run.err.find("in.kst"), std::string::npos) << c.step << ": " << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.step << ": " << run.err;
    EXPECT_FALSE(fs::exists(folder / "world.txt")) << c.step;
  }
}

}  // namespace
}  // namespace lorvex
