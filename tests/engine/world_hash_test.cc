// The golden worlds rest on this fingerprint: a part of the world left out of it would let
// a changed world pass.
#include "engine/world_hash.h"

#include <functional>

#include <gtest/gtest.h>

namespace lorvex {
namespace {

WorldState SmallWorld() {
  WorldState world;
  world.SetMapSize(13, 9, true);  // 117 squares: not a whole number of 8-letter words
  world.CreateInitialMap();
  world.WorldMap(4, 4) = 'Y';
  world.MassOfSquare(4, 4) = 0;
  world.CityOfSquare(4, 4) = 0;
  world.MassTable = {{kLarge, 1}};
  world.CityProduction = {120};
  world.CitySpecialty = {9};
  world.CityOwner = {0};
  return world;
}

TEST(WorldHash, AnyOneChangeOfTheWorldIsSeen) {
  const WorldState base = SmallWorld();
  ASSERT_EQ(WorldHash(base), WorldHash(SmallWorld()));
  const std::function<void(WorldState&)> changes[] = {
      [](WorldState& w) { w.WorldMap(12, 8) = 'S'; },  // the last letter, in the tail word
      [](WorldState& w) { w.MassOfSquare(5, 5) = 0; },
      [](WorldState& w) { w.CityOfSquare(4, 4) = 1; },
      [](WorldState& w) { w.MassTable[0].squares = 2; },
      [](WorldState& w) { w.MassTable[0].sizeClass = kMedium; },
      [](WorldState& w) { w.CityProduction[0] = 121; },
      [](WorldState& w) { w.CitySpecialty[0] = 10; },
      [](WorldState& w) { w.CityOwner.push_back(0); },
      [](WorldState& w) { w.MapWrap = false; },
      [](WorldState& w) {  // the same squares in another shape
        w.SetMapSize(9, 13, true);
        w.WorldMap.Reset(9, 13, 'S');
        w.WorldMap.Cells() = SmallWorld().WorldMap.Cells();
      },
  };
  for (std::size_t i = 0; i < std::size(changes); ++i) {
    WorldState changed = SmallWorld();
    changes[i](changed);
    EXPECT_NE(WorldHash(changed), WorldHash(base)) << "world change " << i;
  }
}

}  // namespace
}  // namespace lorvex
