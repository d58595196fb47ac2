#include "apps/lorvex-gui/square_readout.h"

#include <algorithm>
#include <utility>

#include "export/palette.h"

namespace lorvex::gui {

namespace {

const char* SizeClassName(int sizeClass) {
  switch (sizeClass) {
    case kLarge: return "Large";
    case kMedium: return "Medium";
    case kSmall: return "Small";
    case kTinyIslands: return "tiny islands";
    default: return "unknown size";
  }
}

std::string TerrainName(char code) {
  if (const std::optional<int> index = PaletteIndex(code))
    return std::string(kPalette[static_cast<std::size_t>(*index)].name);
  return std::string("unknown terrain '") + code + "'";
}

}  // namespace

std::string SquareReadout(const HostWorld& world, int x, int y) {
  if (!world.MapArray.Contains(x, y)) return {};
  std::string text = "x " + std::to_string(x) + ", y " + std::to_string(y) + ": " +
                     TerrainName(world.MapArray(x, y));
  const Grid<std::int32_t>& masses = world.MassOfSquare;
  if (masses.Contains(x, y)) {
    const std::int32_t mass = masses(x, y);
    if (mass >= 0 && static_cast<std::size_t>(mass) < world.Masses.size()) {
      const LandMass& row = world.Masses[static_cast<std::size_t>(mass)];
      text += ", land mass " + std::to_string(mass + 1) + " of " + std::to_string(world.Masses.size()) +
              " (" + SizeClassName(row.sizeClass) + ", " + std::to_string(row.squares) + " squares)";
    }
  }
  // The city squares are in the host's order, a column-major scan: sorted by (x, y).
  const std::pair<std::int32_t, std::int32_t> square(x, y);
  const auto found = std::lower_bound(world.CitySquares.begin(), world.CitySquares.end(), square);
  if (found != world.CitySquares.end() && *found == square) {
    const auto k = static_cast<std::size_t>(found - world.CitySquares.begin());
    if (k < world.ProdArray.size() && k < world.SpecArray.size() && k < world.OwnerArray.size())
      text += "; city " + std::to_string(k) + ": production " + std::to_string(world.ProdArray[k]) +
              ", specialty " + std::to_string(world.SpecArray[k]) + ", owner " +
              std::to_string(world.OwnerArray[k]);
  }
  return text;
}

}  // namespace lorvex::gui
