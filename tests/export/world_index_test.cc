// The summary of a world and the index of a batch.
#include "export/world_index.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace lorvex::exporting {
namespace {

HostWorld MakeWorld(const std::vector<std::string>& rows, std::vector<LandMass> masses) {
  HostWorld world;
  world.MapArray.Reset(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'S');
  for (int y = 0; y < world.MapArray.Height(); ++y)
    for (int x = 0; x < world.MapArray.Width(); ++x) world.MapArray(x, y) = rows[y][x];
  world.Masses = std::move(masses);
  return world;
}

TEST(WorldSummary, CountsLandMassesByClassAndTinyIslandSquares) {
  // Land is every letter but the four waters; a mass that found no room (0 squares) is not
  // counted as placed.
  HostWorld world = MakeWorld({"TTTTT", "SCMGS", "AFRYS", "BBBBB"},
                              {{kLarge, 4}, {kLarge, 0}, {kMedium, 2}, {kSmall, 1}, {kSmall, 1},
                               {kTinyIslands, 7}});
  world.CityCount = 1;
  world.ProdArray = {5, 0, 0};  // two planned cities found no square: not on the map
  const WorldSummary s = Summarize(world);
  EXPECT_EQ(s.land, 6);
  EXPECT_EQ(s.large, 1);
  EXPECT_EQ(s.medium, 1);
  EXPECT_EQ(s.small, 2);
  EXPECT_EQ(s.tinyIslandSquares, 7);
  EXPECT_EQ(s.cities, 1);
}

TEST(WorldIndex, ListsWorldsInTheOrderGivenAndFailedOnesWithTheirReason) {
  IndexEntry built{7, 30, 20, true, true, {100, 2, 3, 4, 12, 9}, {"world-7.json"}, ""};
  IndexEntry refused{8, 30, 20, true, false, {}, {}, "the window did not build a world"};
  IndexEntry halfWritten = built;
  halfWritten.seed = 6;
  halfWritten.error = "cannot write out/world-6.png: No space left on device";
  const nlohmann::json index =
      nlohmann::json::parse(WorldIndexJson({built, refused, halfWritten}));
  EXPECT_EQ(index["count"], 3);
  ASSERT_EQ(index["worlds"].size(), 3u);
  const auto& first = index["worlds"][0];
  EXPECT_EQ(first["seed"], 7);
  EXPECT_EQ(first["land"], 100);
  EXPECT_EQ(first["masses"], nlohmann::json({{"large", 2}, {"medium", 3}, {"small", 4},
                                             {"tinyIslandSquares", 12}}));
  EXPECT_EQ(first["cities"], 9);
  EXPECT_EQ(first["files"], nlohmann::json({"world-7.json"}));
  EXPECT_FALSE(first.contains("error"));
  const auto& second = index["worlds"][1];
  EXPECT_EQ(second["seed"], 8);
  EXPECT_FALSE(second.contains("land"));
  EXPECT_FALSE(second.contains("cities"));
  EXPECT_EQ(second["error"], "the window did not build a world");
  EXPECT_EQ(index["worlds"][2]["seed"], 6);
  EXPECT_EQ(index["worlds"][2]["land"], 100);
  EXPECT_NE(index["worlds"][2]["error"].get<std::string>().find("world-6.png"), std::string::npos);
  // A seed beyond 2^63 stays exact.
  built.seed = 18446744073709551615u;
  EXPECT_EQ(nlohmann::json::parse(WorldIndexJson({built}))["worlds"][0]["seed"].get<std::uint64_t>(),
            18446744073709551615u);
}

}  // namespace
}  // namespace lorvex::exporting
