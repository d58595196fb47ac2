// clsBuild as a C++ host and a person at its window meet it: answers before a build, the
// parameters and key a build used (which build its world again), stops, how a build ended.
#include "host/cls_build.h"

#include <atomic>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "common/world_key.h"
#include "engine/world_hash.h"
#include "export/world_export.h"
#include "platform/headless_platform.h"
#include "support/host_world.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

// Before any build the queries answer 4, "C" and 10 (the square queries of a world are
// tested at the edges); each letter has its host number.
TEST(clsBuild, AFreshHostAnswers4AndEachLetterHasItsNumber) {
  clsBuild fresh;
  EXPECT_EQ((std::vector<int>{fresh.GetTerrainC(0), fresh.GetProductionC(0), fresh.GetSpecialtyC(1), fresh.GetOwnerC(-1), fresh.TestC(-5)}),
            (std::vector<int>{4, 10, 10, 10, 4}));
  EXPECT_EQ(fresh.GetTerrainVB(0, 0), "C");
  const struct { char code; int number; } letters[] = {
      {'T', 1}, {'B', 1}, {'A', 1}, {'Y', 2}, {'Z', 2}, {'F', 3}, {'C', 4},
      {'S', 5}, {'G', 6}, {'M', 7}, {'R', 8}, {'Q', 0}, {'c', 0}, {'\0', 0}};
  for (const auto& row : letters) EXPECT_EQ(HostTerrainNumber(row.code), row.number) << row.code;
}

// Builds headless on a 90 x 60 wrapping map from `key` with the given parameters.
HostWorld BuildFromKey(const WorldKey& key, const ParameterFields& fields) {
  clsBuild builder;
  builder.SetHeadlessBuild(true);
  builder.SetQuestionAnswer(true);
  EXPECT_TRUE(builder.SetParameters(fields).Ok());
  builder.SetNextKey(key);
  EXPECT_TRUE(builder.Build(90, 60, true));
  EXPECT_EQ(builder.LastKey(), key);
  return builder.TakeWorld();
}

// Whatever the window's generator gave away before Build (Recommend; a build stopped by a
// key answered Yes) is part of the world's key: a new builder, and the command line, given
// that key and the same parameters build the same world; the bare seed builds another.
TEST(WorldKeyBuild, AWorldIsBuiltAgainFromItsKeyAfterRecommendOrAStoppedBuild) {
  const struct {
    std::uint64_t seed;
    std::function<void(platform::HeadlessPlatform&, ui::frmBuild&)> action;
  } rows[] = {
      {77, [](platform::HeadlessPlatform&, ui::frmBuild& window) {
         window.Controls().At("cmdDefaults", 0).Click();  // Recommend
         window.cmdBuild_Click();
       }},
      {4, [](platform::HeadlessPlatform& platform, ui::frmBuild& window) {
         // A key pressed at the build's third yield asks the stop question; Yes stops it.
         platform.QueueKeyAtYield(platform.YieldCount() + 3, {' ', 0, ' '});
         window.cmdBuild_Click();
         ASSERT_TRUE(window.IsVisible());  // stopped: the window stays open
         window.cmdBuild_Click();
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.seed);
    platform::HeadlessPlatform platform;
    platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
    platform.AddModalAction([&](platform::Window& w) { row.action(platform, static_cast<ui::frmBuild&>(w)); });
    clsBuild person(platform);
    // A C++ host may hand over a NUL, which no settings line can hold: refused, nothing held.
    EXPECT_EQ(person.SetParameter("txtCities(1)", std::string_view("4\0" "00", 4)).status, Status::kBadValue);
    person.SetNextSeed(row.seed);
    ASSERT_TRUE(person.Build(90, 60, true));
    const WorldKey key = person.LastKey();
    EXPECT_EQ(key.seed, row.seed);
    // The fields the window built with; the builder's own stay its own.
    const ParameterFields used = person.LastBuildParameters();
    EXPECT_EQ(person.Parameters()[37], (ParameterField{"txtCities(1)", "150", false}));
    EXPECT_EQ(person.Parameters()[0], (ParameterField{"txtLandMass(0)", "3", false}));
    EXPECT_EQ(HostWorldHash(BuildFromKey(key, used)), HostWorldHash(person.World()));
    EXPECT_NE(HostWorldHash(BuildFromKey({row.seed, 0}, used)), HostWorldHash(person.World()));
    // The command line, given the parameters as a settings file and the key as its seed.
    const testing::CliFolder folder("lorvex-key");
    clsBuild saver;
    ASSERT_TRUE(saver.SetParameters(used).Ok());
    ASSERT_TRUE(saver.SaveSettings((folder / "used.kst").string()).Ok());
    const std::string seed = FormatWorldKey(key);
    const testing::CliRun run = folder.Run("build --width 90 --height 60 --wrap --yes --settings used.kst --seed " +
                                           seed + " --text - --json world.json --quiet");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, exporting::WorldText(person.World()));
    const std::string json = testing::ReadFile(folder / "world.json");
    EXPECT_NE(json.find("\"key\": \"" + seed + "\""), std::string::npos) << json.substr(0, 200);
  }
}

// A host's stop flag, raised before a Build or at a given yield (as another thread would),
// ends the build at that very checkpoint: it answers False and keeps the previous world.
TEST(clsBuild, AStopFlagEndsTheBuildAtItsNextCheckpoint) {
  const struct {
    long long raiseAtYield;  // 0: before Build; -1: never
    bool built;
    int windowsShown;
  } rows[] = {{-1, true, 1}, {0, false, 0}, {1, false, 1}, {40, false, 1}, {3000, false, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.raiseAtYield);
    std::atomic<bool> stop = row.raiseAtYield == 0;
    platform::HeadlessPlatform platform;
    platform.AddModalAction([](platform::Window& w) { static_cast<ui::frmBuild&>(w).cmdBuild_Click(); });
    platform.OnYield([&](platform::Window&) {
      if (platform.YieldCount() == row.raiseAtYield) stop = true;
    });
    clsBuild host(platform);
    host.SetWorld(testing::HostWorldOfRows({"CS"}));
    host.SetStopFlag(&stop);
    host.SetNextSeed(3);
    EXPECT_EQ(host.Build(200, 150, true), row.built);
    EXPECT_EQ(platform.ModalShows(), row.windowsShown);
    if (row.built) {
      EXPECT_EQ(host.World().MapArray.Width(), 200);
      EXPECT_GT(platform.YieldCount(), 3000);
    } else {
      // At most one more yield for each size class the driver still leaves after the flag.
      EXPECT_GE(platform.YieldCount(), row.raiseAtYield);
      EXPECT_LE(platform.YieldCount(), row.raiseAtYield + 3);
      EXPECT_EQ(host.GetTerrainVB(1, 0), "S");
    }
  }
}

// How a Build ended, for the ends a C host cannot reach without a person: the window closed
// without a build (its Load and Save Settings opened the host's folder, made when missing),
// the stop question answered Yes. Neither replaces the world or takes the waiting seed.
TEST(clsBuild, EachEndOfABuildIsToldBesideItsAnswer) {
  const testing::CliFolder scratch("lorvex-settings");
  const std::filesystem::path folder = scratch / "settings";  // made by the buttons
  const struct {
    const char* what;
    std::function<void(platform::HeadlessPlatform&)> script;
    BuildStatus status;
    const char* message;
    std::size_t fileDialogs;
  } rows[] = {
      {"closed without a build", [](platform::HeadlessPlatform& p) {
         p.AddModalAction([](platform::Window& w) {
           auto& window = static_cast<ui::frmBuild&>(w);
           window.Controls().At("cmdSave", 0).Click();
           window.Controls().At("cmdLoad", 0).Click();
         });
       }, BuildStatus::kCancelled, "the parameters window was closed without a build", 2},
      {"the stop question answered Yes", [](platform::HeadlessPlatform& p) {
         p.AddModalAction([](platform::Window& w) { static_cast<ui::frmBuild&>(w).cmdBuild_Click(); });
         p.QueueKeyAtYield(50, {0, 0, 27});
       }, BuildStatus::kStopped, "the build was stopped", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    platform::HeadlessPlatform platform;
    platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);  // the land warning, the stop question
    clsBuild host(platform);
    host.SetWorld(testing::HostWorldOfRows({"CS"}));
    host.SetNextSeed(3);
    host.SetSettingsFolder(folder.string());
    row.script(platform);
    EXPECT_FALSE(host.Build(120, 90, false));
    EXPECT_EQ(host.LastBuildOutcome().status, row.status);
    EXPECT_EQ(host.LastBuildOutcome().message, row.message);
    EXPECT_EQ(host.MapWidth(), 120);  // stored before anything else
    EXPECT_EQ(host.GetTerrainVB(1, 0), "S");
    EXPECT_EQ(host.LastSeed(), 0u);
    ASSERT_EQ(platform.FileRequests().size(), row.fileDialogs);
    for (const platform::FileDialogRequest& request : platform.FileRequests()) EXPECT_EQ(request.initDir, folder.string());
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace
}  // namespace lorvex
