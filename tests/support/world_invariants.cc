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

}  // namespace

std::string CheckWorld(const WorldState& world, const InvariantOptions& options) {
  if (world.WorldMap.Width() != world.MapWidth || world.WorldMap.Height() != world.MapHeight)
    return "the world map does not have the map's size";
  std::vector<long long> perRow(world.MassTable.size(), 0);
  long long land = 0;
  int cities = 0;
  for (int y = 0; y < world.MapHeight; ++y)
    for (int x = 0; x < world.MapWidth; ++x) {
      const char code = world.WorldMap(x, y);
      if (std::string("TBASCMGFRY").find(code) == std::string::npos)
        return std::string("unknown letter ") + code + At(x, y);
      const char border = BorderCode(world, x, y);
      if (border != 0 && code != border) return std::string("border changed to ") + code + At(x, y);
      if (!IsLand(code)) {
        if (world.CityOfSquare(x, y) != -1) return "a city on water" + At(x, y);
        continue;
      }
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
      for (int d = 0; d < 8; ++d) {
        const int nx = world.StepX(x, d), ny = WorldState::StepY(y, d);
        if (world.WorldMap.Contains(nx, ny) && world.WorldMap(nx, ny) == terrain::kCity)
          return "two cities touch" + At(x, y);
      }
      const int production = world.CityProduction[static_cast<std::size_t>(city)];
      if (production < options.productionMin || production > options.productionMax)
        return "production " + std::to_string(production) + " out of range" + At(x, y);
      if (world.CityOwner[static_cast<std::size_t>(city)] != 0) return "a city with an owner" + At(x, y);
    }
  if (static_cast<std::size_t>(cities) != world.CityProduction.size() ||
      world.CitySpecialty.size() != world.CityProduction.size() ||
      world.CityOwner.size() != world.CityProduction.size())
    return "the city arrays do not match the cities on the map";
  long long counted = 0;
  for (std::size_t row = 0; row < perRow.size(); ++row) {
    const long long table = world.MassTable[row].squares;
    counted += table;
    if (options.evenSpacing ? perRow[row] > table : perRow[row] != table)
      return "mass " + std::to_string(row) + " holds " + std::to_string(perRow[row]) +
             " squares, its row says " + std::to_string(table);
  }
  if (!options.evenSpacing && counted != land)
    return "the land-mass table counts " + std::to_string(counted) + " squares, the map holds " +
           std::to_string(land);
  return "";
}

}  // namespace lorvex::checks
