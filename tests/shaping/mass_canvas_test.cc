#include "shaping/mass_canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::ShapingFixture;

// The side-step distance from (x, y) to the nearest land square of `land`.
int DistanceToLand(const std::vector<std::pair<int, int>>& land, int x, int y) {
  int best = INT_MAX;
  for (const auto& [lx, ly] : land) best = std::min(best, std::abs(lx - x) + std::abs(ly - y));
  return best;
}

std::vector<std::string> Rows(const MassGrid& grid) {
  std::vector<std::string> rows;
  for (int y = 0; y < grid.Height(); ++y) {
    std::string row;
    for (int x = 0; x < grid.Width(); ++x) row += grid(x, y);
    rows.push_back(row);
  }
  return rows;
}

// Rings of padding are the "X" squares within `rings` side steps of the land, never on the
// border rows and columns, and each is shown once, ring by ring and row by row.
TEST(PadMass, RingsAreDiamondsRoundTheLandAndShownRingByRingInRowOrder) {
  struct Case {
    int w, h;
    std::vector<std::pair<int, int>> land;
    int rings;
  };
  const Case cases[] = {
      {20, 20, {{10, 10}}, 1},
      {20, 20, {{10, 10}}, 4},
      {30, 24, {{5, 5}, {6, 5}, {20, 12}, {21, 17}}, 3},
      {30, 24, {{12, 10}, {14, 10}, {13, 11}}, 6},   // rings meet and merge
      {16, 12, {{2, 2}, {14, 10}}, 5},               // rings run into the border
      {150, 14, {{63, 4}, {64, 9}, {127, 2}, {129, 12}}, 3},  // across 64-column boundaries
      {128, 6, {{1, 1}, {126, 4}, {0, 3}}, 2},       // land on the border column is padded too
  };
  for (const Case& c : cases) {
    ShapingFixture fixture;
    fixture.world.WatchMode = true;  // the preview, and so the order of the calls, shows
    BuildContext context = fixture.Context();
    MassCanvas canvas(c.w + 1, c.h + 1, kOpen);
    for (const auto& [x, y] : c.land) canvas(x, y) = kLand;
    PadMass(context, canvas, c.w, c.h, static_cast<std::int16_t>(c.rings));

    int padding = 0;
    for (int y = 0; y <= c.h; ++y)
      for (int x = 0; x <= c.w; ++x) {
        const int distance = DistanceToLand(c.land, x, y);
        const bool border = x == 0 || y == 0 || x == c.w || y == c.h;
        const char expected = distance == 0                                ? kLand
                              : !border && distance <= c.rings ? kPad
                                                                           : kOpen;
        EXPECT_EQ(canvas(x, y), expected) << "square " << x << "," << y << " rings " << c.rings;
        padding += expected == kPad ? 1 : 0;
      }
    // Shown once each, ordered by ring, then row, then column.
    const auto& shown = fixture.hooks.pads;
    ASSERT_EQ(static_cast<int>(shown.size()), padding);
    for (std::size_t k = 1; k < shown.size(); ++k) {
      const auto key = [&](std::pair<int, int> s) {
        return std::make_tuple(DistanceToLand(c.land, s.first, s.second), s.second, s.first);
      };
      EXPECT_LT(key(shown[k - 1]), key(shown[k])) << "call " << k;
    }
  }
}

TEST(PadMass, OneRingRoundOneSquareCropsToAPlus) {
  ShapingFixture fixture;
  BuildContext context = fixture.Context();
  MassCanvas canvas(11, 11, kOpen);
  canvas(5, 5) = kLand;
  PadMass(context, canvas, 10, 10, 1);
  EXPECT_EQ(Rows(CropMass(canvas, 10, 10)), (std::vector<std::string>{"XSX", "SCS", "XSX"}));
}

TEST(PadMass, NoRingsLeavesTheLandAlone) {
  for (int rings : {0, -3}) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    MassCanvas canvas(11, 11, kOpen);
    canvas(3, 4) = kLand;
    canvas(5, 6) = kLand;
    PadMass(context, canvas, 10, 10, static_cast<std::int16_t>(rings));
    EXPECT_EQ(Rows(CropMass(canvas, 10, 10)), (std::vector<std::string>{"CXX", "XXX", "XXC"}));
    EXPECT_TRUE(fixture.hooks.pads.empty());
  }
}

// Land in column W - 1 is padded up to column W - 1 only: column W is never marked.
TEST(PadMass, LandBesideTheLastColumnIsPaddedOnlyInsideIt) {
  ShapingFixture fixture;
  BuildContext context = fixture.Context();
  MassCanvas canvas(11, 9, kOpen);  // W = 10, H = 8
  canvas(9, 4) = kLand;
  PadMass(context, canvas, 10, 8, 2);
  for (int y = 0; y <= 8; ++y) EXPECT_EQ(canvas(10, y), kOpen) << y;
  EXPECT_EQ(canvas(8, 4), kPad);
  EXPECT_EQ(canvas(7, 4), kPad);
  EXPECT_EQ(canvas(9, 2), kPad);
  EXPECT_EQ(canvas(8, 3), kPad);
  const MassGrid grid = CropMass(canvas, 10, 8);
  EXPECT_EQ(Rows(grid), (std::vector<std::string>{"XXS", "XSS", "SSC", "XSS", "XXS"}));
}

TEST(CropMass, CutsToTheBoxOfColumnsAndRowsFromOne) {
  MassCanvas canvas(8, 6, kOpen);  // W = 7, H = 5
  canvas(0, 2) = kLand;            // column 0 is not scanned
  canvas(3, 0) = kLand;            // nor row 0
  canvas(2, 3) = kLand;
  canvas(7, 5) = kPad;             // the last column and row are
  EXPECT_EQ(Rows(CropMass(canvas, 7, 5)),
            (std::vector<std::string>{"CXXXXX", "XXXXXX", "XXXXXS"}));
}

TEST(CropMass, ACanvasWithoutLandGivesAnEmptyGrid) {
  MassCanvas canvas(8, 6, kOpen);
  canvas(0, 0) = kLand;
  const MassGrid grid = CropMass(canvas, 7, 5);
  EXPECT_EQ(grid.Width(), 0);
  EXPECT_EQ(grid.Height(), 0);
}

}  // namespace
}  // namespace lorvex::shaping
