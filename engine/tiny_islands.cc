#include "engine/tiny_islands.h"

#include <cmath>

#include "world/code_bits.h"

namespace lorvex {

namespace {

std::int64_t CountSea(const WorldState& world) {
  // The map as one row, eight squares at a time: most of it is open sea.
  const char* codes = world.WorldMap.Cells().data();
  const auto squares = static_cast<std::int64_t>(world.WorldMap.Cells().size());
  std::int64_t sea = 0, k = 0;
  for (; k + 8 <= squares; k += 8) {
    const std::uint64_t eight = EightCodes(codes + k);
    sea += eight == codebits::kAllSea ? 8 : CountCodes8(eight, terrain::kSea);
  }
  for (; k < squares; ++k) sea += codes[k] == terrain::kSea ? 1 : 0;
  return sea;
}

}  // namespace

std::int32_t PlaceTinyIslands(BuildContext& context, std::int32_t tinySquares,
                              std::int32_t massRow) {
  WorldState& world = context.world;
  Random& random = context.random;
  std::int32_t placed = 0;
  // The sea squares left, exactly: the stage ends when there are none, so the seed search
  // always has a sea square to find (one in SquareCount or better per draw).
  std::int64_t sea = tinySquares > 0 ? CountSea(world) : 0;
  const auto take = [&](std::int32_t x, std::int32_t y) {
    world.WorldMap(x, y) = terrain::kClear;
    world.MassOfSquare(x, y) = massRow;
    ++placed;
    --sea;
    context.hooks.PreviewTrail(x, y);
  };

  while (placed < tinySquares) {
    if (context.YieldAndCheckStop()) break;
    if (sea <= 0) break;
    std::int32_t x = 0, y = 0;
    do {
      const auto k = static_cast<std::int64_t>(
          std::floor(random.Next() * world.MapWidth * world.MapHeight));
      x = static_cast<std::int32_t>(k % world.MapWidth);
      y = static_cast<std::int32_t>(k / world.MapWidth);
    } while (world.WorldMap(x, y) != terrain::kSea);
    take(x, y);

    const double r1 = random.Next(), r2 = random.Next(), r3 = random.Next();
    std::int32_t extra = static_cast<std::int32_t>(std::floor(5 * r1)) +
                         (std::floor(2 * r2) == 0 ? 0 : static_cast<std::int32_t>(std::floor(5 * r3)));
    int tried = 0;
    // Each step starts from a random direction and takes the first sea neighbour, turning
    // through all eight; the island ends when a step finds none or the eighth was taken.
    while (placed < tinySquares && extra > 0 && tried < 8) {
      bool found = false;
      int d = static_cast<int>(std::floor(8 * random.Next()));
      tried = 0;
      while (!found && tried < 8) {
        const std::int32_t nx = world.StepX(x, d), ny = WorldState::StepY(y, d);
        if (world.WorldMap.Contains(nx, ny) && world.WorldMap(nx, ny) == terrain::kSea) {
          found = true;
          x = nx;
          y = ny;
          take(x, y);
          --extra;
        }
        d = d >= 7 ? 0 : d + 1;
        ++tried;
      }
    }
  }
  return placed;
}

}  // namespace lorvex
