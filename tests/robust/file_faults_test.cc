// Saving and loading settings, and writing a world, when the file system fails at each step
// (support/io_faults.h). A failed save leaves the old file as it was and no partial file,
// and says which file and why; a failed load applies none of its lines.
#include <filesystem>
#include <set>
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
using namespace lorvex::testing;

// The names in a folder: a failed write leaves no partial file behind.
std::set<fs::path> Listing(const fs::path& folder) {
  std::set<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// A load applies none of the lines of a file it cannot read, and revalidates every field
// whether the file was read, is missing, is a folder or has a name the file system refuses:
// a "0" typed into a weight box becomes its "1" each time.
TEST(FileFaults, ALoadThatCannotReadTheFileOnlyRevalidates) {
  params::testing::InEmptyDirectory dir;
  fs::create_directories("kessett/folder.kst");
  const struct { const char* step; std::string file; } cases[] = {
      {"vanish", "kessett/y.kst"}, {"read", "kessett/y.kst"}, {"", "kessett/folder.kst"},
      {"", "kessett/gone.kst"},    {"", "kessett/" + std::string(5000, 'x') + ".kst"}};
  for (const auto& c : cases) {
    WriteFile("kessett/y.kst", "txtLandMass(0) = 1\r\nchkAlgorithm(0) = 0\r\ncboPlacement(0) = 2\r\n");
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    const checks::ParameterValues before = checks::ReadParameterValues(window.Controls());
    window.Controls().At("txtAlgorithm", 0).SetText("0");
    platform.QueueFileAnswer(c.file);
    {
      ScopedIoFault armed(c.step, "y.kst");
      window.Controls().At("cmdLoad", 0).Click();
      EXPECT_EQ(armed.Hits() > 0, *c.step != '\0') << c.file;
    }
    EXPECT_EQ(checks::FirstDifference(before, checks::ReadParameterValues(window.Controls())), "") << c.step << c.file.substr(0, 20);
  }
}

// The command line under the same faults, put in front of it with LD_PRELOAD: a settings
// save, each world format, and a settings file the build cannot read.
TEST(FileFaults, TheCommandLineExitsWith2AndKeepsTheOldFile) {
  struct Case { std::string step, reason, arguments, file; };
  std::vector<Case> cases;
  // Each step of a save, with the reason the system gives for its failure.
  const struct { const char* step; const char* reason; } saveFaults[] = {
      {"create", "Read-only file system"}, {"write", "No space left on device"}, {"flush", "Disk quota exceeded"},
      {"close", "Input/output error"},     {"rename", "Device or resource busy"}};
  for (const auto& fault : saveFaults) {
    for (const char* file : {"out.kst", "new.kst"})  // over an old file, and where there was none
      cases.push_back({fault.step, std::string("Could not save settings to ") + file + ": " + fault.reason,
                       std::string("settings --save ") + file, file});
    for (const auto& [format, file] : {std::pair{"text", "w.txt"}, {"json", "w.json"}, {"png", "w.png"}, {"freeciv", "w.sav"}})
      cases.push_back({fault.step, fault.reason, std::string("build --width 30 --height 20 --seed 5 --yes --quiet --") +
                       format + " " + file, file});
  }
  for (const auto& [step, reason] : {std::pair{"vanish", "No such file or directory"}, std::pair{"read", "Input/output error"}})
    cases.push_back({step, reason, "build --width 30 --height 20 --seed 5 --yes --quiet --settings in.kst --text w.txt", "in.kst"});
  for (const Case& c : cases) {
    CliFolder folder("io-faults");
    if (c.file != "new.kst") WriteFile(folder / c.file, "txtLandMass(0) = 1\r\n");
    const std::set<fs::path> before = Listing(folder.Path());
    const testing::CliRun run = folder.Run(
        c.arguments, "LD_PRELOAD='" LORVEX_IO_FAULTS_PATH "' LORVEX_IO_FAULT='" + c.step + ":" + c.file + "'");
    const std::string what = c.step + ": " + c.arguments;
    EXPECT_EQ(run.status, 2) << what << "\n" << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << what << "\n" << run.err;
    EXPECT_NE(run.err.find(c.file), std::string::npos) << what << "\n" << run.err;
    if (c.step == "vanish") continue;  // the fault deletes the file it guards
    if (c.file != "new.kst") {
      EXPECT_EQ(ReadFile(folder / c.file), "txtLandMass(0) = 1\r\n") << what;
    }
    EXPECT_EQ(Listing(folder.Path()), before) << what;
  }
}

}  // namespace
}  // namespace lorvex
