// A world's key gives back its world: whatever the window's generator gave away before
// Build (Recommend, a stopped build) is part of the key, and a new builder, or the command
// line, given that key and the same parameters builds the same world.
#include <gtest/gtest.h>

#include <functional>

#include "apps/cli_run.h"
#include "common/world_key.h"
#include "engine/world_hash.h"
#include "export/world_export.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

constexpr std::int16_t kKeyWidth = 90, kKeyHeight = 60;

// Builds headless from `key` with the given parameters.
HostWorld BuildFromKey(const WorldKey& key, const ParameterFields& fields) {
  clsBuild builder;
  builder.SetHeadlessBuild(true);
  builder.SetQuestionAnswer(true);
  EXPECT_TRUE(builder.SetParameters(fields).Ok());
  builder.SetNextKey(key);
  EXPECT_TRUE(builder.Build(kKeyWidth, kKeyHeight, true));
  EXPECT_EQ(builder.LastKey(), key);
  return builder.TakeWorld();
}

// A person's builder whose window, shown once, is worked by `action`; questions are answered Yes.
void PersonBuilds(platform::HeadlessPlatform& platform, std::uint64_t seed,
                  std::function<void(ui::frmBuild&)> action, clsBuild& person) {
  platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
  platform.AddModalAction([action](platform::Window& w) { action(static_cast<ui::frmBuild&>(w)); });
  person.SetNextSeed(seed);
  ASSERT_TRUE(person.Build(kKeyWidth, kKeyHeight, true));
  EXPECT_EQ(person.LastKey().seed, seed);
  EXPECT_GT(person.LastKey().draws, 0u);  // the window's generator was drawn from before Build
}

// A person presses Recommend in the window, then Build: the world's key carries the draws
// Recommend took, and that key builds the world again, headless and through the command
// line; the bare seed, with the same parameters, builds another world.
TEST(WorldKeyBuild, AWorldBuiltAfterRecommendIsBuiltAgainFromItsKey) {
  platform::HeadlessPlatform platform;
  clsBuild person(platform);
  PersonBuilds(platform, 77, [](ui::frmBuild& window) {
    window.Controls().At("cmdDefaults", 0).Click();  // Recommend
    window.cmdBuild_Click();
  }, person);
  const WorldKey key = person.LastKey();
  EXPECT_EQ(person.LastSeed(), 77u);
  const ParameterFields used = person.LastBuildParameters();

  EXPECT_EQ(HostWorldHash(BuildFromKey(key, used)), HostWorldHash(person.World()));
  EXPECT_NE(HostWorldHash(BuildFromKey({77, 0}, used)), HostWorldHash(person.World()));

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

// A build stopped in the window gives its draws to the key of the build after it.
TEST(WorldKeyBuild, ABuildAfterAStoppedOneIsBuiltAgainFromItsKey) {
  platform::HeadlessPlatform platform;
  clsBuild person(platform);
  PersonBuilds(platform, 4, [&platform](ui::frmBuild& window) {
    // A key pressed at the build's third yield asks the stop question; Yes stops it.
    platform.QueueKeyAtYield(platform.YieldCount() + 3, {' ', 0, ' '});
    window.cmdBuild_Click();
    ASSERT_TRUE(window.IsVisible());  // stopped: the window stays open
    window.cmdBuild_Click();
  }, person);
  EXPECT_EQ(HostWorldHash(BuildFromKey(person.LastKey(), person.LastBuildParameters())), HostWorldHash(person.World()));
}

}  // namespace
}  // namespace lorvex
