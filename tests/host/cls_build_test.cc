#include "host/cls_build.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include <gtest/gtest.h>

#include "engine/world_hash.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

// A host world of the given rows (row y is the string rows[y]) and its city values in
// column-major order.
HostWorld MakeWorld(const std::vector<std::string>& rows) {
  HostWorld world;
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(rows[0].size());
  world.MapArray.Reset(width, height, 'S');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) world.MapArray(x, y) = rows[y][x];
  return world;
}

TEST(clsBuild, QueriesBeforeAnyBuildAnswerTheOutsideValues) {
  clsBuild host;
  for (int pos : {-1, 0, 1, 100}) {
    EXPECT_EQ(host.GetTerrainC(pos), 4);
    EXPECT_EQ(host.GetProductionC(pos), 10);
    EXPECT_EQ(host.GetSpecialtyC(pos), 10);
    EXPECT_EQ(host.GetOwnerC(pos), 10);
  }
  EXPECT_EQ(host.GetTerrainVB(0, 0), "C");
  EXPECT_EQ(host.TestC(-5), 4);
}

TEST(clsBuild, SquaresAreRowMajorAndOutsideAnswers4) {
  clsBuild host;
  host.SetWorld(MakeWorld({"TBA", "SCY"}));  // 3 x 2
  EXPECT_EQ(host.GetTerrainC(4), 4);   // (1, 1) is "C"
  EXPECT_EQ(host.GetTerrainC(3), 5);   // (0, 1) is "S"
  EXPECT_EQ(host.GetTerrainC(5), 2);   // (2, 1) is "Y"
  EXPECT_EQ(host.GetTerrainC(0), 1);
  EXPECT_EQ(host.GetTerrainC(-1), 4);  // x = -1
  EXPECT_EQ(host.GetTerrainC(6), 4);   // y = MapHeight
  EXPECT_EQ(host.GetTerrainC(-3), 4);  // x = 0, y = -1 by truncation
  EXPECT_EQ(host.GetTerrainVB(2, 0), "A");
  EXPECT_EQ(host.GetTerrainVB(3, 0), "C");
  EXPECT_EQ(host.GetTerrainVB(0, -1), "C");
}

TEST(clsBuild, HostNumbersOfEveryLetter) {
  const struct { char code; int number; } rows[] = {
      {'T', 1}, {'B', 1}, {'A', 1}, {'Y', 2}, {'Z', 2}, {'F', 3}, {'C', 4},
      {'S', 5}, {'G', 6}, {'M', 7}, {'R', 8}, {'Q', 0}, {'c', 0}, {'\0', 0}};
  for (const auto& row : rows) EXPECT_EQ(HostTerrainNumber(row.code), row.number) << row.code;
}

TEST(clsBuild, BuildRefusesBadSizesWithoutShowingTheWindow) {
  platform::HeadlessPlatform platform;
  clsBuild host(platform);
  const struct { int w, h; } sizes[] = {{0, 0}, {0, 10}, {10, 0}, {-1, 5}, {5, -32768},
                                        {kMaxMapSide + 1, 10}, {10, 32767}};
  for (const auto& s : sizes) {
    EXPECT_FALSE(host.Build(static_cast<std::int16_t>(s.w), static_cast<std::int16_t>(s.h), false));
    EXPECT_EQ(host.MapWidth(), s.w);  // stored before anything else
    EXPECT_EQ(host.MapHeight(), s.h);
  }
  EXPECT_EQ(platform.ModalShows(), 0);
  EXPECT_EQ(host.GetTerrainC(0), 4);
}

TEST(clsBuild, ACancelledBuildKeepsThePreviousWorldButStoresTheNewSize) {
  platform::HeadlessPlatform platform;
  clsBuild host(platform);
  host.SetWorld(MakeWorld({"CS"}));
  EXPECT_FALSE(host.Build(kMaxMapSide, kMaxMapSide, true));  // nobody presses Build
  EXPECT_EQ(platform.ModalShows(), 1);
  EXPECT_EQ(host.MapWidth(), kMaxMapSide);
  EXPECT_TRUE(host.MapWrap());
  EXPECT_EQ(host.GetTerrainC(0), 4);
  EXPECT_EQ(host.GetTerrainVB(1, 0), "S");
}

// A build the host did not seed takes its seed from the system clock; a seed the host gives
// is used once, for the next build only.
TEST(clsBuild, AnUnseededBuildIsSeededFromTheClock) {
  platform::HeadlessPlatform platform;
  clsBuild host(platform);
  const auto now = [] {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  };
  host.SetNextSeed(77);
  host.Build(20, 10, false);
  EXPECT_EQ(host.LastSeed(), 77u);
  const std::uint64_t before = now();
  host.Build(20, 10, false);
  const std::uint64_t after = now();
  EXPECT_GE(host.LastSeed(), before);
  EXPECT_LE(host.LastSeed(), after);
}

// The parameters a build used, a person's edits in the window included, handed whole to
// another builder: it builds the same world from the same seed.
TEST(clsBuild, TheParametersOfABuildGoWholeToAnotherBuilder) {
  platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);  // the land warning
  platform.AddModalAction([](platform::Window& w) {
    auto& window = static_cast<ui::frmBuild&>(w);
    window.Controls().At("txtLandMass", 0).Type("1");  // as a person would, before Build
    window.cmdBuild_Click();
  });
  clsBuild first(platform);
  ASSERT_TRUE(first.SetParameter("txtCities(0)", "20").Ok());
  // A C++ host may hand over a NUL, which no settings line can hold: refused, nothing held.
  EXPECT_EQ(first.SetParameter("txtCities(1)", std::string_view("4\0" "00", 4)).status, Status::kBadValue);
  first.SetNextSeed(5);
  ASSERT_TRUE(first.Build(100, 80, true));
  const ParameterFields used = first.LastBuildParameters();
  ASSERT_EQ(used.size(), 103u);
  EXPECT_EQ(used[0], (ParameterField{"txtLandMass(0)", "1", true}));
  EXPECT_EQ(first.Parameters()[0], (ParameterField{"txtLandMass(0)", "3", false}));  // not the builder's
  EXPECT_EQ(first.Parameters()[37], (ParameterField{"txtCities(1)", "150", false}));

  clsBuild second;
  second.SetHeadlessBuild(true);
  second.SetQuestionAnswer(true);
  ASSERT_TRUE(second.SetParameters(used).Ok());
  EXPECT_EQ(second.Parameters(), used);
  second.SetNextSeed(5);
  ASSERT_TRUE(second.Build(100, 80, true));
  EXPECT_EQ(HostWorldHash(second.World()), HostWorldHash(first.World()));
}

// A host's stop flag, raised before a Build or at a given yield of it (as another thread
// would raise it): the build ends at that very checkpoint, answers False and keeps the
// previous world.
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
    host.SetWorld(MakeWorld({"CS"}));
    host.SetStopFlag(&stop);
    host.SetNextSeed(3);
    EXPECT_EQ(host.Build(200, 150, true), row.built);
    EXPECT_EQ(platform.ModalShows(), row.windowsShown);
    if (row.built) {
      EXPECT_EQ(host.World().MapArray.Width(), 200);
      EXPECT_GT(platform.YieldCount(), 3000);
    } else {
      // A full build yields thousands of times; a stopped one no more than once for each
      // size class the driver still leaves after the flag.
      EXPECT_GE(platform.YieldCount(), row.raiseAtYield);
      EXPECT_LE(platform.YieldCount(), row.raiseAtYield + 3);
      EXPECT_EQ(host.GetTerrainVB(1, 0), "S");
    }
  }
}

}  // namespace
}  // namespace lorvex
