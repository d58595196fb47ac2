#include "support/world_invariants.h"

#include <vector>

namespace lorvex::checks {

namespace {

std::string At(int x, int y) { return " at (" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

char BorderCode(const WorldState& world, int x, int y) {
  const bool top = y == 0, bottom = y == world.MapHeight - 1;
  if (world.MapWrap) return bottom ? 'B' : top ? 'T' : 0;
  return top || bottom || x == 0 || x == world.MapWidth - 1 ? 'A' : 0;
}

// A city square touching the sea on a side (west and east wrap round the width).
bool CoastalSquare(const WorldState& world, int x, int y) {
  for (int d : {kWest, kEast, kNorth, kSouth}) {
    const int nx = world.StepX(x, d), ny = WorldState::StepY(y, d);
    if (world.WorldMap.Contains(nx, ny) && world.WorldMap(nx, ny) == terrain::kSea) return true;
  }
  return false;
}

}  // namespace

std::string CheckWorld(const WorldState& world, const InvariantOptions& options) {
  if (world.WorldMap.Width() != world.MapWidth || world.WorldMap.Height() != world.MapHeight)
    return "the world map does not have the map's size";
  // One entry per planned city: the placed ones numbered 0 .. k - 1, the rest left 0.
  if (world.CitySpecialty.size() != world.CityProduction.size() ||
      world.CityOwner.size() != world.CityProduction.size())
    return "the three city arrays differ in length";
  std::vector<long long> perRow(world.MassTable.size(), 0);
  std::vector<bool> numbered(world.CityProduction.size(), false);
  long long land = 0;
  int cities = 0;
  for (int y = 0; y < world.MapHeight; ++y)
    for (int x = 0; x < world.MapWidth; ++x) {
      const char code = world.WorldMap(x, y);
      if (std::string("TBASCMGFRY").find(code) == std::string::npos)
        return std::string("unknown letter ") + code + At(x, y);
      const char border = BorderCode(world, x, y);
      if (border != 0 && code != border) return std::string("border changed to ") + code + At(x, y);
      if (code != terrain::kCity && world.CityOfSquare(x, y) != -1)
        return "a city number on a square without a city" + At(x, y);
      if (!IsLand(code)) continue;
      ++land;
      const int row = world.MassOfSquare(x, y);
      if (row < 0 || static_cast<std::size_t>(row) >= perRow.size())
        return "land outside every mass" + At(x, y);
      ++perRow[static_cast<std::size_t>(row)];
      if (code != terrain::kCity) continue;
      ++cities;
      const int city = world.CityOfSquare(x, y);
      if (city < 0 || static_cast<std::size_t>(city) >= world.CityProduction.size())
        return "a city square without a city" + At(x, y);
      if (numbered[static_cast<std::size_t>(city)]) return "two squares share city " + std::to_string(city);
      numbered[static_cast<std::size_t>(city)] = true;
      for (int d = 0; d < 8; ++d) {
        const int nx = world.StepX(x, d), ny = WorldState::StepY(y, d);
        // On a wrapping map one square wide, west and east of a square is the square itself.
        if (nx == x && ny == y) continue;
        if (world.WorldMap.Contains(nx, ny) && world.WorldMap(nx, ny) == terrain::kCity)
          return "two cities touch" + At(x, y);
      }
      const int production = world.CityProduction[static_cast<std::size_t>(city)];
      if (production < options.productionMin || production > options.productionMax)
        return "production " + std::to_string(production) + " out of range" + At(x, y);
      if (world.CityOwner[static_cast<std::size_t>(city)] != 0) return "a city with an owner" + At(x, y);
      // Specialty 9 is none; a coastal city's specialty is 10 .. 19, an inland one's 10 .. 13.
      const int specialty = world.CitySpecialty[static_cast<std::size_t>(city)];
      const int highest = CoastalSquare(world, x, y) ? 19 : 13;
      if (specialty != 9 && (specialty < 10 || specialty > highest))
        return "specialty " + std::to_string(specialty) + " out of range" + At(x, y);
    }
  for (std::size_t k = 0; k < world.CityProduction.size(); ++k) {
    const bool placed = k < static_cast<std::size_t>(cities);
    if (placed != numbered[k])
      return "city " + std::to_string(k) + (placed ? " is on no square" : " is numbered out of order");
    if (!placed && (world.CityProduction[k] != 0 || world.CitySpecialty[k] != 0 || world.CityOwner[k] != 0))
      return "unplaced city " + std::to_string(k) + " has values";
  }
  // Every "C" a mass writes counts in its row, also land written over (see InvariantOptions).
  const bool overwritten = options.evenSpacing || world.MapWrap;
  long long counted = 0;
  for (std::size_t row = 0; row < perRow.size(); ++row) {
    const long long table = world.MassTable[row].squares;
    counted += table;
    if (overwritten ? perRow[row] > table : perRow[row] != table)
      return "mass " + std::to_string(row) + " holds " + std::to_string(perRow[row]) +
             " squares, its row says " + std::to_string(table);
  }
  if (!overwritten && counted != land)
    return "the land-mass table counts " + std::to_string(counted) + " squares, the map holds " +
           std::to_string(land);
  return "";
}

}  // namespace lorvex::checks
