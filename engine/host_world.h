// The world as the host holds it after a completed build: the terrain letter of every
// square indexed (x, y), the values of every city in the order of a column-major scan of
// the map (x outer, y inner), and the land-mass table.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "world/grid.h"
#include "world/world_state.h"

namespace lorvex {

struct HostWorld {
  Grid<char> MapArray;
  std::vector<std::int16_t> ProdArray;
  std::vector<std::int16_t> SpecArray;
  std::vector<std::int16_t> OwnerArray;
  // The cities on the map: ordinals 0 .. CityCount - 1 name the "Y" squares in column-major
  // order. The arrays may be longer: a city the build planned but found no square for keeps
  // its entry, 0 in every array.
  std::int32_t CityCount = 0;
  // Our extension: the land-mass table of the build (size class and land squares per mass).
  std::vector<LandMass> Masses;
  // Our extension: the squares (x, y) of the cities 0 .. CityCount - 1.
  std::vector<std::pair<std::int32_t, std::int32_t>> CitySquares;
  // Our extension: the mass of every square (a row of MassTable, -1 for none). The window's
  // copy leaves it empty; a window that hands its world over (clsBuild's) moves it here.
  Grid<std::int32_t> MassOfSquare;
};

}  // namespace lorvex
