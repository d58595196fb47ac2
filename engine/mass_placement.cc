#include "engine/mass_placement.h"

#include <cmath>

#include "common/numbers.h"

namespace lorvex {

namespace {

constexpr std::int32_t kMostPlacementTries = 1000;

// The map square a grid square lands on for centre (cx, cy).
MapSquare Landing(const WorldState& world, const Grid<char>& grid, std::int32_t cx,
                  std::int32_t cy, int i, int j) {
  const int hw = (grid.Width() - 1) / 2, hh = (grid.Height() - 1) / 2;
  std::int32_t mx = cx + i - hw;
  if (world.MapWrap) mx = world.WrapX(mx);
  return {mx, cy + j - hh};
}

bool OnMap(const WorldState& world, MapSquare s) {
  return s.x >= 0 && s.y >= 0 && s.x < world.MapWidth && s.y < world.MapHeight;
}

bool IsBorderWater(char code) {
  return code == terrain::kTopBorder || code == terrain::kBottomBorder ||
         code == terrain::kAllBorder;
}

}  // namespace

void WriteMassAt(BuildContext& context, const Grid<char>& grid, std::int32_t cx, std::int32_t cy,
                 std::int32_t massRow) {
  WorldState& world = context.world;
  for (int i = 0; i < grid.Width(); ++i) {
    for (int j = 0; j < grid.Height(); ++j) {
      const char letter = grid(i, j);
      if (letter == 'X') continue;
      const MapSquare s = Landing(world, grid, cx, cy, i, j);
      if (!OnMap(world, s) || IsBorderWater(world.WorldMap(s.x, s.y))) continue;
      // A grid wider than a wrapping map lands on some squares twice: land this mass wrote
      // there already is counted again only if it stays land.
      if (world.MassOfSquare(s.x, s.y) == massRow && world.WorldMap(s.x, s.y) == terrain::kClear) {
        --world.MassTable[static_cast<std::size_t>(massRow)].squares;
        world.MassOfSquare(s.x, s.y) = -1;
      }
      world.WorldMap(s.x, s.y) = letter;
      if (letter != terrain::kClear) continue;
      world.MassOfSquare(s.x, s.y) = massRow;
      ++world.MassTable[static_cast<std::size_t>(massRow)].squares;
      context.hooks.PreviewLandSquare(s.x, s.y);
    }
  }
}

bool MassFitsAt(const WorldState& world, const Grid<char>& grid, std::int32_t cx,
                std::int32_t cy, bool seaBorders, bool allowOffEdge) {
  for (int i = 0; i < grid.Width(); ++i) {
    for (int j = 0; j < grid.Height(); ++j) {
      const char letter = grid(i, j);
      const MapSquare s = Landing(world, grid, cx, cy, i, j);
      if (OnMap(world, s)) {
        if (letter != 'X' && !IsWater(world.WorldMap(s.x, s.y))) return false;
      } else if (seaBorders) {
        if (letter != 'X') return false;
      } else if (!allowOffEdge) {
        if (letter == terrain::kClear) return false;
      }
    }
  }
  return true;
}

std::int16_t EvenColumnWidth(const WorldState& world, std::int16_t n) {
  if (n == 1) return ToInt16(world.MapWidth);
  const double cells = n % 2 != 0 ? n + 1.0 : static_cast<double>(n);
  // n of 0 or below has no cell layout; answer the whole width rather than divide by 0.
  if (cells <= 0) return ToInt16(world.MapWidth);
  return ToInt16(2.0 * world.MapWidth / cells);
}

std::int16_t EvenRowHeight(const WorldState& world, std::int16_t n) {
  if (n == 1) return ToInt16(world.MapHeight);
  return ToInt16(world.MapHeight / 2.0);
}

bool FitsEvenSpacing(const WorldState& world, const Grid<char>& grid, std::int16_t n) {
  int largestX = 0, smallestX = grid.Width() - 1;
  int largestY = 0, smallestY = grid.Height() - 1;
  for (int i = 0; i < grid.Width(); ++i)
    for (int j = 0; j < grid.Height(); ++j)
      if (grid(i, j) == terrain::kClear) {
        if (i > largestX) largestX = i;
        if (i < smallestX) smallestX = i;
        if (j > largestY) largestY = j;
        if (j < smallestY) smallestY = j;
      }
  return largestX - smallestX <= EvenColumnWidth(world, n) &&
         largestY - smallestY <= EvenRowHeight(world, n);
}

void PlaceMass(BuildContext& context, const Grid<char>& grid, bool seaBorders,
               bool allowOffEdge, std::int32_t massRow) {
  WorldState& world = context.world;
  if (world.SquareCount <= 0 || grid.Width() == 0) return;
  std::int32_t tries = ToInt32(world.SquareCount / 2.0);
  if (tries > kMostPlacementTries) tries = kMostPlacementTries;
  for (std::int32_t made = 0; made <= tries; ++made) {
    if (context.YieldAndCheckStop()) return;
    context.hooks.ShowStatus("", "");
    const auto k = static_cast<std::int64_t>(
        std::floor(context.random.Next() * world.MapWidth * world.MapHeight));
    const auto cx = static_cast<std::int32_t>(k % world.MapWidth);
    const auto cy = static_cast<std::int32_t>(k / world.MapWidth);
    if (MassFitsAt(world, grid, cx, cy, seaBorders, allowOffEdge)) {
      WriteMassAt(context, grid, cx, cy, massRow);
      return;
    }
  }
}

MapSquare EvenCentre(const WorldState& world, std::int16_t m, std::int16_t n) {
  if (n == 1) return {world.MapWidth / 2, world.MapHeight / 2};
  const std::int32_t cy = ToInt32(world.MapHeight * (m % 2 != 0 ? 0.25 : 0.75));
  const double cells = n % 2 != 0 ? n + 1.0 : static_cast<double>(n);
  const std::int32_t w = cells > 0 ? ToInt32(world.MapWidth / cells) : world.MapWidth;
  return {ToInt32(m * w - w / 2.0), cy};
}

void PlaceMassEvenly(BuildContext& context, const Grid<char>& grid, std::int16_t m,
                     std::int16_t n, std::int32_t massRow) {
  if (grid.Width() == 0) return;
  const MapSquare centre = EvenCentre(context.world, m, n);
  WriteMassAt(context, grid, centre.x, centre.y, massRow);
}

}  // namespace lorvex
