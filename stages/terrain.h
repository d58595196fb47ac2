// Terrain placement: turns part of the clear land of a finished land-and-sea map into
// Mountains, Rough, Forest and Rivers, one pass per kind in that order, each later kind
// drawn towards the terrain of the earlier ones. All coordinates are map squares (x, y),
// x the column from the west, y the row from the top.
#pragma once

#include <cstdint>
#include <vector>

#include "world/build_context.h"

namespace lorvex::stages {

// The square tests of the terrain passes. An x outside 0 .. MapWidth - 1 is wrapped round
// the width on a wrapping map and answers false on a flat one; a y outside the map answers
// false.
bool IsLandSquare(const WorldState& world, std::int32_t x, std::int32_t y);
bool IsClearSquare(const WorldState& world, std::int32_t x, std::int32_t y);
bool IsRiverSquare(const WorldState& world, std::int32_t x, std::int32_t y);

// True when the west, east, north or south neighbour is clear ("C"), tested in that order.
// West and east wrap round the width whatever MapWrap says; the border rows keep north and
// south inside the map (a row outside it counts as not clear).
bool HasClearNeighbour(const WorldState& world, std::int32_t x, std::int32_t y);

// The four shares of the land, as fractions.
struct TerrainFractions {
  float rivers = 0;
  float forest = 0;
  float rough = 0;
  float mountains = 0;
};

// Scales all four by 0.9 until their single-precision sum is at most 0.75, keeping their
// proportions. A share that is not a finite number counts as 0.
TerrainFractions CapTerrainFractions(TerrainFractions fractions);

// Land squares in the 17 x 17 window round (x, y): c2, c3, c4, c6 count those whose larger
// of |dx|, |dy| is at most 2, 3, 4, 6 (windows of 25, 49, 81, 169 squares), c8 the whole
// window (289 squares).
struct LandWindow {
  std::int32_t c2 = 0, c3 = 0, c4 = 0, c6 = 0, c8 = 0;
};
// The counts for the windows of one map whose land stays where it is (the terrain
// passes only turn land into other land): the land is taken once as one bit a square, each
// row widened by the window's reach on both sides (wrapped round the width on a wrapping
// map, never land on a flat one), so a window row is one 17-bit slice and five masked bit
// counts.
class LandWindowCounter {
 public:
  explicit LandWindowCounter(const WorldState& world);
  // The window round (x, y), x on the map.
  LandWindow Count(std::int32_t x, std::int32_t y) const;
  // The land squares and the clear ("C") squares of the map, counted as its land was taken.
  std::int64_t LandSquares() const { return landSquares_; }
  std::int64_t ClearSquares() const { return clearSquares_; }

 private:
  std::int32_t width_ = 0, height_ = 0;
  std::int64_t landSquares_ = 0, clearSquares_ = 0;
  std::size_t stride_ = 0;  // words a widened row, one of them to spare for the slices
  std::vector<std::uint64_t> bits_;
};

// The cluster size range for the land round a start square: 2 .. 5 on a lone square, up
// to 21 .. 50 deep inside a continent.
struct ClusterRange {
  std::int32_t lo = 2;
  std::int32_t hi = 5;
};
ClusterRange ClusterSizeRange(const LandWindow& window);

// What one PlaceTerrain call did, for tests and tools that study the terrain. Headings and
// main directions are the directions of the world state (0 north, 1 south, 2 west, 3 east).
struct TerrainLog {
  struct Square {
    std::int32_t x, y;
    bool operator==(const Square&) const = default;
  };
  // One mountain range, rough patch or forest: its start square, its drawn size, and the
  // squares it wrote (for Rough and Forest every growth-list entry, copies included).
  struct Cluster {
    char code;
    Square start;
    std::int32_t target;
    std::int32_t written;
  };
  // One straight run of a river: the index in `squares` where its heading was drawn, the
  // heading, and the run length drawn with it.
  struct Segment {
    std::size_t first;
    int heading;
    std::int32_t length;
  };
  struct River {
    int mainDirection;
    std::vector<Square> squares;  // in the order written
    std::vector<Segment> segments;
  };
  std::vector<Cluster> clusters;
  std::vector<River> rivers;
};

// Lays Mountains, Rough, Forest and Rivers over the clear land, each kind a fraction of the
// land squares counted at the start (capped together at 0.75). Shows the status "Terrain"
// with "Mountain", "Rough", "Forest" and "Rivers" and raises the progress bar by 2 after
// each pass. Runs to its end once started; a pass ends early when no clear land is left.
void PlaceTerrain(BuildContext& context, float pRivers, float pForest, float pRough,
                  float pMountains, TerrainLog* log = nullptr);

}  // namespace lorvex::stages
