// The routines that read a word of 64 squares at a time against the plain reading of their
// rules, square by square, over random maps of every width near a multiple of 64.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/mass_placement.h"
#include "engine/tiny_islands.h"
#include "shaping/mass_canvas.h"
#include "stages/cities.h"
#include "stages/terrain.h"
#include "support/engine_rig.h"

namespace lorvex {
namespace {

// Widths 64 k + r for k = 0 .. 2 and r = 0, 1, 49 .. 63 (width 0 left out).
std::vector<int> FpWidths() {
  std::vector<int> widths;
  for (int k = 0; k <= 2; ++k)
    for (int r : {0, 1, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63})
      if (64 * k + r > 0) widths.push_back(64 * k + r);
  return widths;
}

bool FpWater(char c) { return c == 'T' || c == 'B' || c == 'A' || c == 'S'; }

// A world of random letters, the edges as likely to be land as any.
void FpRandomWorld(WorldState& world, Random& random, int width, int height, bool wrap) {
  static const char kCodes[] = "SSSSSSCCCCTBAMGFRY";
  world.SetMapSize(width, height, wrap);
  world.CreateInitialMap();
  const bool sparse = random.Next() < 0.3;  // long runs of open sea, whole words of it
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      world.WorldMap(x, y) = sparse && random.Next() < 0.9 ? 'S' : kCodes[random.Item(sizeof kCodes - 1)];
}

// Squares whose letter `counts` within `reach` of (x, y) both ways: rows off the map do not
// count, columns off it wrap on a wrapping map and do not count on a flat one.
template <typename Counts>
int FpWindowCount(const WorldState& world, int x, int y, int reach, Counts counts) {
  const int width = world.MapWidth;
  int found = 0;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const int column = world.MapWrap ? ((x + dx) % width + width) % width : x + dx;
      if (world.WorldMap.Contains(column, y + dy) && counts(world.WorldMap(column, y + dy))) ++found;
    }
  return found;
}

// Over random worlds of every width, flat and wrapping: the land window counts as square by
// square; a land square is coastal when open sea ("S", not border water) lies west, east
// (both always wrapping round the width), north or south of it, each kind listed in scan
// order; a city lies within `radius` (at least 1) as square by square.
TEST(FastPaths, LandWindowCoastAndCityWithinReadAsSquareBySquare) {
  Random random(64);
  for (const bool wrap : {false, true})
    for (const int width : FpWidths()) {
      WorldState world;
      const int height = 1 + static_cast<int>(random.Item(20));
      FpRandomWorld(world, random, width, height, wrap);
      const auto at = ::testing::Message() << width << " x " << height << (wrap ? " wrapping" : " flat");
      const stages::LandWindowCounter counter(world);
      long long land = 0, clear = 0;
      for (const char c : world.WorldMap.Cells()) land += !FpWater(c), clear += c == 'C';
      EXPECT_EQ(counter.LandSquares(), land) << at;
      EXPECT_EQ(counter.ClearSquares(), clear) << at;
      // Every column of the first, last and one middle row.
      for (const int y : {0, height / 2, height - 1})
        for (int x = 0; x < width; ++x) {
          const stages::LandWindow w = counter.Count(x, y);
          const int got[] = {w.c2, w.c3, w.c4, w.c6, w.c8}, reach[] = {2, 3, 4, 6, 8};
          for (int k = 0; k < 5; ++k)
            ASSERT_EQ(got[k], FpWindowCount(world, x, y, reach[k], [](char c) { return !FpWater(c); })) << at << ", (" << x << ", " << y << "), reach " << reach[k];
        }
      std::fill(world.MassOfSquare.Cells().begin(), world.MassOfSquare.Cells().end(), -1);
      std::vector<stages::SquareNumber> coastal, inland;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          if (FpWater(world.WorldMap(x, y))) continue;
          const auto sea = [&](int cx, int cy) { return cy >= 0 && cy < height && world.WorldMap((cx + width) % width, cy) == 'S'; };
          (sea(x - 1, y) || sea(x + 1, y) || sea(x, y - 1) || sea(x, y + 1) ? coastal : inland).push_back(y * width + x);
        }
      const std::vector<stages::CityBucket> buckets = stages::CollectCityBuckets(world, stages::kNoMassOfItsOwn);
      ASSERT_EQ(buckets.size(), 1u);
      EXPECT_EQ(buckets[0].coastal, coastal) << at;
      EXPECT_EQ(buckets[0].inland, inland) << at;
      // Few cities but on column 0, and every other window reaching just past the east edge.
      for (char& c : world.WorldMap.Cells()) c = c == 'Y' && random.Next() < 0.9 ? 'C' : c;
      for (int y = 0; y < height; ++y) world.WorldMap(0, y) = random.Next() < 0.5 ? 'Y' : 'C';
      for (int k = 0; k < 60; ++k) {
        const int radius = static_cast<int>(random.Item(6)) - 1, r = std::max(radius, 1);
        const int x = k % 2 ? std::max(width - r, 0) : static_cast<int>(random.Item(width)), y = static_cast<int>(random.Item(height));
        const bool want = FpWindowCount(world, x, y, r, [](char c) { return c == 'Y'; }) > 0;
        ASSERT_EQ(stages::CityWithin(world, x, y, radius), want) << at << ", (" << x << ", " << y << "), radius " << radius;
      }
    }
}

// PadMass against its two passes square by square: mark every "X" off the canvas edge with
// a side neighbour neither "X" nor marked, then make the marks "S".
TEST(FastPaths, PadMassRingsAsMarkedSquareBySquare) {
  Random random(67);
  for (int k = 0; k < 300; ++k) {
    const int w = 1 + static_cast<int>(random.Item(k % 2 ? 200 : 30)), h = 1 + static_cast<int>(random.Item(k % 3 ? 12 : 70));
    const auto rings = static_cast<std::int16_t>(random.Item(6));
    shaping::MassCanvas canvas(w + 1, h + 1, 'X');
    const int blobs = 1 + static_cast<int>(random.Item(4));
    for (int b = 0; b < blobs; ++b) {
      const int cx = static_cast<int>(random.Item(w + 1)), cy = static_cast<int>(random.Item(h + 1));
      for (int s = 0; s < 12; ++s) {
        const int x = std::clamp(cx + static_cast<int>(random.Item(5)) - 2, 0, w);
        const int y = std::clamp(cy + static_cast<int>(random.Item(5)) - 2, 0, h);
        canvas(x, y) = 'C';
      }
    }
    shaping::MassCanvas want = canvas;
    // The box of the squares not "X" of `c` in columns and rows `from` .. W and .. H.
    const auto landBox = [w, h](const shaping::MassCanvas& c, int from, shaping::MassBox box) {
      for (int y = from; y <= h; ++y)
        for (int x = from; x <= w; ++x)
          if (c(x, y) != 'X') box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
      return box;
    };
    const shaping::MassBox box = landBox(canvas, 0, {w, h, 0, 0});
    for (int ring = 0; ring < rings; ++ring) {
      for (int x = 1; x <= w - 1; ++x)
        for (int y = 1; y <= h - 1; ++y) {
          const auto grows = [&](int nx, int ny) { return want(nx, ny) != 'X' && want(nx, ny) != 'H'; };
          if (want(x, y) == 'X' && (grows(x - 1, y) || grows(x + 1, y) || grows(x, y + 1) || grows(x, y - 1))) want(x, y) = 'H';
        }
      for (char& c : want.Cells()) c = c == 'H' ? 'S' : c;
    }
    checks::EngineRig<> rig;
    BuildContext context = rig.Context();
    const shaping::MassBox got = shaping::PadMass(context, canvas, w, h, rings, box);
    const auto at = ::testing::Message() << "canvas " << w << " x " << h << ", rings " << rings << ", case " << k;
    ASSERT_EQ(std::string(canvas.Cells().begin(), canvas.Cells().end()), std::string(want.Cells().begin(), want.Cells().end())) << at;
    // The box CropMass cuts: the squares not "X" in columns 1 .. W and rows 1 .. H.
    const shaping::MassBox cut = landBox(want, 1, {w + 1, h + 1, -1, -1});
    if (cut.right < 0) {
      EXPECT_TRUE(got.Empty()) << at;
    } else {
      EXPECT_TRUE(got.left == cut.left && got.top == cut.top && got.right == cut.right && got.bottom == cut.bottom)
          << at << ": " << got.left << " " << got.top << " " << got.right << " " << got.bottom;
    }
  }
}

// One try of PlaceMass: every grid square not "X" must land on water inside the map (a
// wrapping map moves a column by one width, once); off the map, with sea borders nothing may
// hang, without either option no land, with off-edge placement anything. Written, each takes
// its square unless border water, row by row, and every "C" written counts.
TEST(FastPaths, MassFitsAndIsWrittenWhereEverySquareOfItIsAllowed) {
  Random random(68);
  for (const bool wrap : {false, true})
    for (const int width : {1, 63, 64, 65, 127, 128, 129}) {
      WorldState world;
      const int height = 2 + static_cast<int>(random.Item(8));
      FpRandomWorld(world, random, width, height, wrap);
      for (char& c : world.WorldMap.Cells()) c = random.Next() < 0.8 ? (c == 'C' ? 'S' : c) : c;
      for (int k = 0; k < 40; ++k) {
        const int gw = 1 + static_cast<int>(random.Item(6)), gh = 1 + static_cast<int>(random.Item(6));
        Grid<char> grid(gw, gh, 'X');
        for (char& c : grid.Cells()) c = "XSSC"[random.Item(4)];
        const int cx = static_cast<int>(random.Item(width + 4)) - 2, cy = static_cast<int>(random.Item(height + 4)) - 2;
        const int option = static_cast<int>(random.Item(3));  // 0 neither, 1 sea borders, 2 off the edge
        bool want = true;
        Grid<char> written = world.WorldMap;
        int counted = 0;
        for (int j = 0; j < gh; ++j)
          for (int i = 0; i < gw; ++i) {
            const char g = grid(i, j);
            int mx = cx + i - (gw - 1) / 2;
            const int my = cy + j - (gh - 1) / 2;
            if (wrap) mx = mx < 0 ? mx + width : mx >= width ? mx - width : mx;
            if (g == 'X') continue;
            if (!written.Contains(mx, my)) {
              want = want && option != 1 && (option == 2 || g != 'C');
              continue;
            }
            want = want && FpWater(world.WorldMap(mx, my));
            if (std::string("TBA").find(written(mx, my)) != std::string::npos) continue;
            written(mx, my) = g;
            counted += g == 'C';
          }
        const auto at = ::testing::Message() << width << (wrap ? " wrapping" : " flat") << ", centre (" << cx << ", " << cy << ")";
        ASSERT_EQ(MassFitsAt(world, grid, cx, cy, option == 1, option == 2), want) << at << ", option " << option;
        checks::EngineRig<> rig;
        rig.world = world;
        rig.world.MassTable.assign(1, LandMass{kLarge, 0});
        BuildContext context = rig.Context();
        WriteMassAt(context, grid, cx, cy, 0);
        ASSERT_EQ(rig.world.WorldMap.Cells(), written.Cells()) << at;
        ASSERT_EQ(rig.world.MassTable[0].squares, counted) << at;
      }
    }
}

// The tiny islands take exactly the squares asked for, on open sea only (in their mass row), or
// all of it.
TEST(FastPaths, TinyIslandsTakeTheSeaThereIs) {
  Random random(69);
  for (const int width : {1, 3, 7, 9, 15, 17, 63, 65}) {
    checks::EngineRig<> rig(static_cast<std::uint64_t>(width));
    const int height = 1 + static_cast<int>(random.Item(7));
    FpRandomWorld(rig.world, random, width, height, random.Next() < 0.5);
    rig.world.MassTable.assign(1, LandMass{kTinyIslands, 0});
    const std::string before(rig.world.WorldMap.Cells().begin(), rig.world.WorldMap.Cells().end());
    const auto sea = static_cast<int>(std::count(before.begin(), before.end(), 'S'));
    for (const int asked : {sea / 2, sea + 5}) {
      WorldState world = rig.world;
      BuildContext context{world, rig.view, rig.random, rig.hooks};
      const int placed = PlaceTinyIslands(context, asked, 0);
      EXPECT_EQ(placed, std::min(asked, sea)) << width << " x " << height << ", asked " << asked;
      int changed = 0;
      for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != world.WorldMap.Cells()[i]) {
          ++changed;
          EXPECT_TRUE(before[i] == 'S' && world.WorldMap.Cells()[i] == 'C' && world.MassOfSquare.Cells()[i] == 0) << width << ", square " << i;
        }
      EXPECT_EQ(changed, std::min(asked, sea)) << width << " x " << height << ", asked " << asked;
    }
  }
}

}  // namespace
}  // namespace lorvex
