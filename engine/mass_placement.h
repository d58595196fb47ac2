// Placement of one shaped mass on the world map: PlaceMass hunts for a random position
// where the whole mass and its sea border lie on water; PlaceMassEvenly puts the m-th of
// n Large masses into its fixed cell of a two-row layout. A mass grid is indexed (i, j),
// i = 0 .. gw across, j = 0 .. gh down; grid square (i, j) lands on map square
// (cx + i - gw/2, cy + j - gh/2) for the centre (cx, cy). Letters: "C" land, "S" sea
// border, "X" not part of the mass.
#pragma once

#include <cstdint>

#include "world/build_context.h"
#include "world/grid.h"

namespace lorvex {

// Width and height of one even-spacing cell for n Large masses.
std::int16_t EvenColumnWidth(const WorldState& world, std::int16_t n);
std::int16_t EvenRowHeight(const WorldState& world, std::int16_t n);
// Whether the land of the grid spans no more than one cell each way.
bool FitsEvenSpacing(const WorldState& world, const Grid<char>& grid, std::int16_t n);

// Tries at most t + 1 random centres, t = round(SquareCount / 2) capped at 1000; a mass
// that finds no room is dropped (its MassTable row keeps 0 squares).
void PlaceMass(BuildContext& context, const Grid<char>& grid, bool seaBorders,
               bool allowOffEdge, std::int32_t massRow);

// Writes the m-th (1-based) of n Large masses into its cell, over whatever is there.
void PlaceMassEvenly(BuildContext& context, const Grid<char>& grid, std::int16_t m,
                     std::int16_t n, std::int32_t massRow);

struct MapSquare {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const MapSquare&, const MapSquare&) = default;
};
// The centre PlaceMassEvenly uses for the m-th of n masses.
MapSquare EvenCentre(const WorldState& world, std::int16_t m, std::int16_t n);

// One try of PlaceMass: whether the grid may sit at centre (cx, cy) under the edge options
// (inside the map every mass square must lie on water; off the map the options decide).
bool MassFitsAt(const WorldState& world, const Grid<char>& grid, std::int32_t cx,
                std::int32_t cy, bool seaBorders, bool allowOffEdge);
// Writes the grid at centre (cx, cy), skipping "X", squares off the map and border water.
void WriteMassAt(BuildContext& context, const Grid<char>& grid, std::int32_t cx, std::int32_t cy,
                 std::int32_t massRow);

}  // namespace lorvex
