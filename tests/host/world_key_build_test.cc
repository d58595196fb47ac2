// A world's key gives back its world: whatever the window's generator gave away before
// Build (Recommend, a stopped build) is part of the key, and a new builder, or the command
// line, given that key and the same parameters builds the same world.
#include <gtest/gtest.h>

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

// A person presses Recommend in the window, then Build: the world's key carries the draws
// Recommend took, and that key builds the world again, headless and through the command
// line; the bare seed, with the same parameters, builds another world.
TEST(WorldKeyBuild, AWorldBuiltAfterRecommendIsBuiltAgainFromItsKey) {
  platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
  platform.AddModalAction([](platform::Window& w) {
    auto& window = static_cast<ui::frmBuild&>(w);
    window.Controls().At("cmdDefaults", 0).Click();  // Recommend
    window.cmdBuild_Click();
  });
  clsBuild person(platform);
  person.SetNextSeed(77);
  ASSERT_TRUE(person.Build(kKeyWidth, kKeyHeight, true));
  const WorldKey key = person.LastKey();
  EXPECT_EQ(key.seed, 77u);
  EXPECT_GT(key.draws, 0u);  // Recommend drew from the window's generator
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
  platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);  // Yes to the stop question
  platform.AddModalAction([&platform](platform::Window& w) {
    auto& window = static_cast<ui::frmBuild&>(w);
    // A key pressed at the build's third yield asks the stop question; Yes stops it.
    platform.QueueKeyAtYield(platform.YieldCount() + 3, {' ', 0, ' '});
    window.cmdBuild_Click();
    ASSERT_TRUE(window.IsVisible());  // stopped: the window stays open
    window.cmdBuild_Click();
  });
  clsBuild person(platform);
  person.SetNextSeed(4);
  ASSERT_TRUE(person.Build(kKeyWidth, kKeyHeight, true));
  const WorldKey key = person.LastKey();
  EXPECT_EQ(key.seed, 4u);
  EXPECT_GT(key.draws, 0u);
  EXPECT_EQ(HostWorldHash(BuildFromKey(key, person.LastBuildParameters())), HostWorldHash(person.World()));
}

}  // namespace
}  // namespace lorvex
