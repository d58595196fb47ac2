// The world state that every build stage shares: the map size, the world map of one-letter
// terrain codes, the per-square city and land-mass numbers, the land-mass table, the
// per-city values handed to the host, the flags that coordinate a running build with the
// window, and the neighbour steps. Grids are indexed (x, y), x the column from the west,
// y the row from the top; the map wraps east-west only.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "world/grid.h"

namespace lorvex {

// The one-letter terrain codes of the world map.
namespace terrain {
inline constexpr char kTopBorder = 'T';     // top row of a wrapping map
inline constexpr char kBottomBorder = 'B';  // bottom row of a wrapping map
inline constexpr char kAllBorder = 'A';     // the four edges of a non-wrapping map
inline constexpr char kSea = 'S';
inline constexpr char kClear = 'C';
inline constexpr char kMountains = 'M';
inline constexpr char kRough = 'G';
inline constexpr char kForest = 'F';
inline constexpr char kRiver = 'R';
inline constexpr char kCity = 'Y';
}  // namespace terrain

// Water is the border water and the sea ("TBAS"); every other code is land.
constexpr bool IsWater(char code) {
  return code == terrain::kTopBorder || code == terrain::kBottomBorder ||
         code == terrain::kAllBorder || code == terrain::kSea;
}
constexpr bool IsLand(char code) { return !IsWater(code); }

// The first column from x on whose code is not sea ("S"), or width when the rest of the
// row is sea: most of a map is open sea, which scans for land step over eight squares at a
// time. `row` points at column 0 of a row of `width` codes.
inline std::int32_t NextNonSea(const char* row, std::int32_t x, std::int32_t width) {
  return NextOtherThan(row, x, width, terrain::kSea);
}

// Directions of the neighbour steps.
enum Direction : int {
  kNorth = 0, kSouth = 1, kWest = 2, kEast = 3,
  kNorthWest = 4, kNorthEast = 5, kSouthWest = 6, kSouthEast = 7,
};

enum SizeClass : std::int16_t { kLarge = 0, kMedium = 1, kSmall = 2, kTinyIslands = 3 };

// One row of the land-mass table.
struct LandMass {
  std::int16_t sizeClass = kLarge;
  // Land squares of this mass actually written to WorldMap. 32 bits: on a large map a mass
  // may hold far more than 32767 squares.
  std::int32_t squares = 0;
};

// A square position of the watch trails; x = -1 marks an empty slot.
struct TrailSlot {
  std::int32_t x = -1;
  std::int32_t y = -1;
  bool Empty() const { return x == -1; }
};
using Trail = std::array<TrailSlot, 4>;  // newest first

struct WorldState {
  // Map size and flags, set when the window opens.
  std::int32_t MapWidth = 0;
  std::int32_t MapHeight = 0;
  bool MapWrap = false;
  std::int32_t SquareCount = 0;
  bool StopRequested = true;  // true while no build runs
  bool WatchMode = false;
  bool PauseActive = false;
  bool BuildSucceeded = false;
  bool UpdatingControls = false;
  std::int16_t SelectedTab = 1;

  // Watch display: the land trail (also the world preview's trail) and the padding trail.
  Trail WatchTrail{};
  Trail PadTrail{};
  // World preview geometry, in pixels.
  std::int32_t PreviewOffsetX = 0;
  std::int32_t PreviewOffsetY = 0;
  std::int32_t PreviewScale = 0;
  // Mass preview geometry, in pixels.
  std::int32_t MassPreviewCell = 1;
  std::int32_t MassPreviewOffsetX = 0;
  std::int32_t MassPreviewOffsetY = 0;

  // Grids, created afresh by every build.
  Grid<char> WorldMap;
  Grid<std::int32_t> CityOfSquare;  // -1 = no city
  Grid<std::int32_t> MassOfSquare;  // -1 = no mass
  std::vector<LandMass> MassTable;

  // Per-city values, indexed by city number.
  std::vector<std::int16_t> CityProduction;
  std::vector<std::int16_t> CitySpecialty;
  std::vector<std::int16_t> CityOwner;

  // Stores the map size and wrap flag (SquareCount follows).
  void SetMapSize(std::int32_t width, std::int32_t height, bool wrap);

  // Creates the three grids and writes the initial map: on a wrapping map row 0 is "T"
  // and the last row "B" (written after, so a map of height 1 is all "B"); otherwise the
  // four edges are "A"; every other square is sea. Empties the mass table and cities.
  void CreateInitialMap();

  // One wrap correction of x into 0 .. MapWidth - 1.
  std::int32_t WrapX(std::int32_t x) const {
    if (x < 0) return x + MapWidth;
    if (x >= MapWidth) return x - MapWidth;
    return x;
  }
  // The neighbour's column: always wraps west/east, whatever MapWrap says.
  std::int32_t StepX(std::int32_t x, int d) const {
    if (d == kWest || d == kNorthWest || d == kSouthWest) return WrapX(x - 1);
    if (d == kEast || d == kNorthEast || d == kSouthEast) return WrapX(x + 1);
    return x;
  }
  // The neighbour's row: no clamp; the border rows keep callers inside the map.
  static std::int32_t StepY(std::int32_t y, int d) {
    if (d == kNorth || d == kNorthWest || d == kNorthEast) return y - 1;
    if (d == kSouth || d == kSouthWest || d == kSouthEast) return y + 1;
    return y;
  }

};

}  // namespace lorvex
