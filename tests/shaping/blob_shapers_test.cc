// Stick Blob and Wandering Blob as the driver calls them.
#include <gtest/gtest.h>

#include <functional>

#include "shaping/stick_blob.h"
#include "shaping/wandering_blob.h"
#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::CountCode;
using testing::DistinctSquares;
using testing::DriverSpans;
using testing::OnlyMassCodes;
using testing::ShapingFixture;

// One blob shaper with the window's default boxes.
using Shaper = std::function<MassGrid(BuildContext&, std::int32_t squares, std::int32_t pad,
                                      std::int16_t spanX, std::int16_t spanY)>;

MassGrid DefaultStickBlob(BuildContext& c, std::int32_t squares, std::int32_t pad,
                          std::int16_t spanX, std::int16_t spanY) {
  return MakeStickBlob(c, squares, pad, spanX, spanY, 6, 25, 50, 15);
}
MassGrid DefaultWanderingBlob(BuildContext& c, std::int32_t squares, std::int32_t pad,
                              std::int16_t spanX, std::int16_t spanY) {
  return MakeWanderingBlob(c, squares, pad, spanX, spanY, 40, 15, 50, 15);
}

const struct {
  const char* name;
  Shaper shape;
} kShapers[] = {{"Stick Blob", DefaultStickBlob}, {"Wandering Blob", DefaultWanderingBlob}};

TEST(StickBlob, AnchorSpacingIsFiveOnLargeCanvasesAndSmallerOnSmallOnes) {
  const struct {
    int xMax, yMax, tightness, points, minDist;
  } rows[] = {
      {30, 30, 25, 6, 5},     // (60 - 30) / 6
      {200, 150, 25, 6, 5},   // capped at 5
      {20, 20, 25, 6, 3},     // Int(20 / 6)
      {29, 30, 25, 6, 4},     // Int(29.5 / 6)
      {30, 30, 35, 6, 3},     // Int((60 - 42) / 6)
      {12, 12, 25, 3, 4},     // Int(12 / 3)
      {30, 30, 60, 6, -2},    // Int(-12 / 6): no point is ever too close
      {10, 10, 25, 0, 5},     // no points counts as one: Int(10 / 1), capped
  };
  for (const auto& row : rows)
    EXPECT_EQ(AnchorMinDist(row.xMax, row.yMax, static_cast<std::int16_t>(row.tightness),
                            static_cast<std::int16_t>(row.points)),
              row.minDist)
        << row.xMax << " + " << row.yMax << ", tightness " << row.tightness;
}

TEST(StickBlob, SmallMassesGetFewerAnchorPointsButAlwaysOne) {
  const struct {
    int squares, asked, points;
  } rows[] = {
      {20, 6, 3},    // Int(4) <= 6: 4 - 1
      {34, 6, 5},    // Int(6.8) = 6 <= 6
      {35, 6, 6},    // Int(7) > 6: as asked
      {600, 10, 10}, {10, 3, 1}, {9, 6, 1}, {1, 6, 1},
      {5000, 500, 10},  // held to the box's top
      {600, -4, 1},
  };
  for (const auto& row : rows)
    EXPECT_EQ(AnchorPointCount(row.squares, static_cast<std::int16_t>(row.asked)), row.points)
        << row.squares << " squares, " << row.asked << " asked";
}

// Over sizes, driver spans, borders and seeds: the grid holds "C", "S" and "X" only and
// all the squares asked for. Stick Blob's list may hold an anchor point twice, so its land
// is the distinct squares it showed; every shown square is in the grid.
TEST(BlobShapers, GiveTheSquaresAskedForAndOnlyMassCodes) {
  for (const auto& shaper : kShapers)
    for (int squares : {10, 20, 57, 150, 600, 1500})
      for (int q : {3, 6, 9})
        for (int pad : {0, 2, 8}) {
          ShapingFixture fixture(static_cast<std::uint64_t>(squares * 31 + q * 7 + pad));
          BuildContext context = fixture.Context();
          const auto [spanX, spanY] = DriverSpans(squares, q);
          const MassGrid grid = shaper.shape(context, squares, pad, spanX, spanY);
          const auto at = ::testing::Message() << shaper.name << ", " << squares << " squares, q "
                                               << q << ", pad " << pad;
          ASSERT_TRUE(OnlyMassCodes(grid)) << at;
          EXPECT_EQ(fixture.hooks.land.size(), static_cast<std::size_t>(squares)) << at;
          EXPECT_EQ(CountCode(grid, kLand), static_cast<int>(DistinctSquares(fixture.hooks.land))) << at;
          // With a border, some squares of it survive round the land.
          EXPECT_EQ(CountCode(grid, kPad) > 0, pad > 0) << at;
        }
}

TEST(BlobShapers, OneSeedGivesOneMass) {
  for (const auto& shaper : kShapers) {
    MassGrid grids[3];
    std::vector<std::pair<int, int>> land[3];
    const std::uint64_t seeds[3] = {42, 42, 43};
    for (int k = 0; k < 3; ++k) {
      ShapingFixture fixture(seeds[k]);
      BuildContext context = fixture.Context();
      grids[k] = shaper.shape(context, 500, 5, 55, 77);
      land[k] = fixture.hooks.land;
    }
    EXPECT_EQ(grids[0].Cells(), grids[1].Cells()) << shaper.name;
    EXPECT_EQ(land[0], land[1]) << shaper.name;
    EXPECT_NE(land[0], land[2]) << shaper.name;
  }
}

// A stop at yield N ends the shaping at once: no further yield, and the grid holds exactly
// the land shown so far, padded; empty only when no land had been shown.
TEST(BlobShapers, AStopEndsShapingAtOnceWithASoundPartialMass) {
  for (const auto& shaper : kShapers)
    for (long long stopAt : {1, 2, 3, 7, 50, 300, 900}) {
      ShapingFixture fixture(9);
      fixture.hooks.stopAt = stopAt;
      BuildContext context = fixture.Context();
      const MassGrid grid = shaper.shape(context, 600, 3, 60, 75);
      const auto at = ::testing::Message() << shaper.name << ", stop at yield " << stopAt;
      EXPECT_EQ(fixture.hooks.yields, stopAt) << at;
      EXPECT_TRUE(OnlyMassCodes(grid)) << at;
      EXPECT_EQ(CountCode(grid, kLand), static_cast<int>(DistinctSquares(fixture.hooks.land))) << at;
      EXPECT_EQ(grid.Width() == 0, fixture.hooks.land.empty()) << at;
      EXPECT_LT(fixture.hooks.land.size(), 600u) << at;
    }
}

// Sizes of 1 to 9 squares, borders of 0 and 99, spans of 0 and parameters far outside the
// boxes' ranges all finish with only mass codes, and with land but in one case: without a
// border, 2 or 3 squares too many for spans of 0 fill only row and column 0 of the 3 x 3
// canvas, which the crop leaves out.
TEST(BlobShapers, BadInputFinishesWithLand) {
  struct Case {
    int squares, pad, spanX, spanY;
    std::int16_t v[4];
  };
  std::vector<Case> cases;
  for (int squares = 1; squares <= 9; ++squares) {
    cases.push_back({squares, 2, 3, 4, {6, 25, 50, 15}});
    cases.push_back({squares, 0, 0, 0, {6, 25, 50, 15}});
  }
  const Case odd[] = {
      {300, 99, 30, 30, {6, 25, 50, 15}},  {300, 0, 0, 0, {6, 25, 50, 15}},
      {300, 99, 0, 0, {6, 25, 50, 15}},    {300, -3, -5, 40, {6, 25, 50, 15}},
      {300, 2, 30, 30, {0, 0, 0, 0}},      {300, 2, 30, 30, {-5, -5, -5, -5}},
      {300, 2, 30, 30, {1000, 100, 200, 1000}}, {300, 2, 30, 30, {10, 60, 100, 50}},
      {0, 2, 30, 30, {6, 25, 50, 15}},     {-7, 2, 30, 30, {6, 25, 50, 15}},
      {2000000000, 2, 30, 30, {6, 25, 50, 15}},
  };
  cases.insert(cases.end(), std::begin(odd), std::end(odd));
  for (const Case& c : cases)
    for (int algorithm = 0; algorithm < 2; ++algorithm) {
      ShapingFixture fixture(static_cast<std::uint64_t>(c.squares + c.pad));
      BuildContext context = fixture.Context();
      const auto spanX = static_cast<std::int16_t>(c.spanX), spanY = static_cast<std::int16_t>(c.spanY);
      const MassGrid grid =
          algorithm == 0 ? MakeStickBlob(context, c.squares, c.pad, spanX, spanY, c.v[0], c.v[1], c.v[2], c.v[3])
                         : MakeWanderingBlob(context, c.squares, c.pad, spanX, spanY, c.v[0], c.v[1], c.v[2], c.v[3]);
      const auto at = ::testing::Message() << (algorithm == 0 ? "Stick" : "Wandering") << ", "
                                           << c.squares << " squares, pad " << c.pad << ", spans "
                                           << c.spanX << " x " << c.spanY << ", boxes " << c.v[0]
                                           << " " << c.v[1] << " " << c.v[2] << " " << c.v[3];
      EXPECT_TRUE(OnlyMassCodes(grid)) << at;
      const bool edgeOnly = c.pad == 0 && c.spanX == 0 && c.spanY == 0 && (c.squares == 2 || c.squares == 3);
      EXPECT_EQ(CountCode(grid, kLand) > 0, !edgeOnly) << at;
      EXPECT_LE(CountCode(grid, kLand), std::max(c.squares, 1)) << at;
    }
}

// A mass bigger than the inside of its frame is a solid block from column and row Pad on,
// filled column by column.
TEST(BlobShapers, AMassTooBigForItsFrameIsFilledAsABlock) {
  const struct {
    int pad, squares, blockWidth, blockHeight, land;
  } rows[] = {
      {2, 30, 5, 6, 30},   // x 2 .. 7, y 2 .. 7: five full columns of six
      {2, 33, 6, 6, 33},   // and three squares of the sixth
  };
  for (const auto& row : rows)
    for (const auto& shaper : kShapers) {
      ShapingFixture fixture;
      BuildContext context = fixture.Context();
      const MassGrid grid = shaper.shape(context, row.squares, row.pad, 4, 4);
      EXPECT_EQ(CountCode(grid, kLand), row.land) << shaper.name << " pad " << row.pad;
      ASSERT_FALSE(fixture.hooks.land.empty());
      EXPECT_EQ(fixture.hooks.land.front(), std::make_pair(row.pad, row.pad));
      int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
      for (const auto& [x, y] : fixture.hooks.land) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
      EXPECT_EQ(maxX - minX + 1, row.blockWidth) << shaper.name << " pad " << row.pad;
      EXPECT_EQ(maxY - minY + 1, row.blockHeight) << shaper.name << " pad " << row.pad;
    }
}

// Sticks between points spread over a large canvas take more than a third of 30 squares,
// so the attempt is redone 50 times and the 51st is used; a compact mass is accepted at
// once. Each attempt starts the mass preview afresh.
TEST(StickBlob, RedoesStickHeavyAttemptsFiftyTimesAtMost) {
  ShapingFixture spread(3);
  BuildContext spreadContext = spread.Context();
  const MassGrid grid = MakeStickBlob(spreadContext, 30, 2, 150, 150, 6, 25, 50, 15);
  EXPECT_EQ(spread.hooks.previews.size(), 51u);
  EXPECT_EQ(spread.hooks.land.size(), 30u);
  EXPECT_EQ(CountCode(grid, kLand), static_cast<int>(DistinctSquares(spread.hooks.land)));

  ShapingFixture compact(3);
  BuildContext compactContext = compact.Context();
  MakeStickBlob(compactContext, 600, 2, 40, 40, 6, 25, 50, 15);
  EXPECT_EQ(compact.hooks.previews.size(), 1u);
}

TEST(WanderingBlob, WandersWhileTheMassHasNoMoreThanItsShare) {
  const struct {
    int squares, percent, afterWandering;
  } rows[] = {{100, 40, 41}, {100, 10, 11}, {57, 80, 46}, {5, 10, 1}, {30, 100, 30}};
  for (const auto& row : rows) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    BlobCanvas blob(row.squares, 2, 20, 20);
    blob.SetPeriod(5);
    blob.AddLand(context, blob.XMax() / 2, blob.YMax() / 2);
    ASSERT_EQ(Wander(context, blob, row.squares, static_cast<std::int16_t>(row.percent), 15),
              Growth::kGrown);
    EXPECT_EQ(blob.Count(), row.afterWandering) << row.squares << " at " << row.percent << " %";
  }
}

TEST(WanderingBlob, StartsInTheMiddleOfTheCanvas) {
  for (int pad : {0, 3, 99}) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    MakeWanderingBlob(context, 50, pad, 11, 6, 40, 15, 50, 15);
    ASSERT_FALSE(fixture.hooks.land.empty());
    const int xMax = 2 * pad + 13, yMax = 2 * pad + 8;
    EXPECT_EQ(fixture.hooks.previews.front(), std::make_pair(xMax, yMax));
    EXPECT_EQ(fixture.hooks.land.front(), std::make_pair(xMax / 2, yMax / 2));
  }
}

}  // namespace
}  // namespace lorvex::shaping
