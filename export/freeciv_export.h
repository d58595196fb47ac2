// A finished world as a Freeciv 3.0 scenario for the classic ruleset: the map's size and
// east-west wrap, every square's terrain (and river) by the table below, and start
// positions on the cities of highest production; no players, and the generator set to
// keep the map. A Freeciv server loads it with `freeciv-server -f FILE`. Squares are
// (x, y), x the column from the west, y the row from the top, as in Freeciv's own maps.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host_world.h"
#include "export/world_export.h"
#include "world/world_state.h"

namespace lorvex::exporting {

// The sizes a Freeciv 3.0 server takes: its xsize and ysize settings start at 16, and
// their product may not pass 2 048 000 tiles.
inline constexpr int kFreecivMinSide = 16;
inline constexpr std::int64_t kFreecivMaxSquares = 2048000;

// A game has at most 150 players, so a scenario offers no more start positions.
inline constexpr int kFreecivMaxStartPositions = 150;

// Open sea becomes Deep Ocean when no land lies within this many squares (in any of the
// eight directions), so that the early ships, which keep off Deep Ocean, can follow coasts.
inline constexpr int kDeepOceanReach = 2;

// How a letter's square chooses its Freeciv terrain.
enum class FreecivRule {
  kAsIs,              // always the terrain of the table
  kDeepAwayFromLand,  // Deep Ocean where no land lies within kDeepOceanReach squares
  kGrassOrPlains,     // Grassland or Plains by a fixed hash of the square, about half each
};

struct FreecivTerrain {
  char code;                 // the terrain letter of the world map
  std::string_view terrain;  // the classic ruleset's terrain
  FreecivRule rule;
  bool river;                // the square carries the River extra
};

inline constexpr std::array<FreecivTerrain, 10> kFreecivTerrain = {{
    // code            terrain       rule                            river
    {terrain::kTopBorder,    "Deep Ocean", FreecivRule::kAsIs,             false},
    {terrain::kBottomBorder, "Deep Ocean", FreecivRule::kAsIs,             false},
    {terrain::kAllBorder,    "Deep Ocean", FreecivRule::kAsIs,             false},
    {terrain::kSea,          "Ocean",      FreecivRule::kDeepAwayFromLand, false},
    {terrain::kClear,        "Grassland",  FreecivRule::kGrassOrPlains,    false},
    {terrain::kMountains,    "Mountains",  FreecivRule::kAsIs,             false},
    {terrain::kRough,        "Hills",      FreecivRule::kAsIs,             false},
    {terrain::kForest,       "Forest",     FreecivRule::kAsIs,             false},
    {terrain::kRiver,        "Grassland",  FreecivRule::kAsIs,             true},
    {terrain::kCity,         "Grassland",  FreecivRule::kAsIs,             false},
}};

struct FreecivSquare {
  std::string_view terrain;
  bool river = false;
};

// The Freeciv terrain of square (x, y) of `map`; nothing for a letter outside the table.
// On a wrapping map the search for land near the sea reaches across the east-west seam.
std::optional<FreecivSquare> FreecivSquareAt(const Grid<char>& map, bool wrap, int x, int y);

struct StartPosition {
  std::int32_t x, y;
};

// The city squares that become start positions: the cities of highest production, at
// most kFreecivMaxStartPositions, highest first, cities of equal production in the host's
// order (a column-major scan).
std::vector<StartPosition> FreecivStartPositions(const HostWorld& world);

// Whether a Freeciv server takes a map of width x height; the reason when not.
bool FreecivFits(int width, int height, std::string& error);

// Writes the scenario to `out`. Refuses a map Freeciv does not take and a terrain letter
// outside the table, with the reason in `error`.
bool WriteFreecivScenario(const HostWorld& world, const WorldInfo& info, std::FILE* out,
                          std::string& error);

}  // namespace lorvex::exporting
