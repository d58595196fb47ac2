// Stick Blob and Wandering Blob as the driver calls them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "common/numbers.h"
#include "shaping/blob_growth.h"
#include "shaping/stick_blob.h"
#include "shaping/wandering_blob.h"
#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::CountCode;
using testing::DistinctSquares;
using testing::OnlyMassCodes;
using testing::ShapingFixture;

// One blob shaper with the window's default boxes.
using Shaper = std::function<MassGrid(BuildContext&, std::int32_t squares, std::int32_t pad,
                                      std::int16_t spanX, std::int16_t spanY)>;
const struct {
  const char* name;
  Shaper shape;
} kShapers[] = {
    {"Stick Blob", [](BuildContext& c, std::int32_t n, std::int32_t pad, std::int16_t x, std::int16_t y) {
       return MakeStickBlob(c, n, pad, x, y, 6, 25, 50, 15);
     }},
    {"Wandering Blob", [](BuildContext& c, std::int32_t n, std::int32_t pad, std::int16_t x, std::int16_t y) {
       return MakeWanderingBlob(c, n, pad, x, y, 40, 15, 50, 15);
     }},
};

TEST(StickBlob, AnchorPointsAndTheirSpacing) {
  const struct { int xMax, yMax, tightness, points, minDist; } spacing[] = {
      {30, 30, 25, 6, 5},   {200, 150, 25, 6, 5},  // (60 - 30) / 6, capped at 5
      {20, 20, 25, 6, 3},   {29, 30, 25, 6, 4},   {30, 30, 35, 6, 3},
      {30, 30, 60, 6, -2},  {10, 10, 25, 0, 5},   // no points counts as one
  };
  for (const auto& row : spacing)
    EXPECT_EQ(AnchorMinDist(row.xMax, row.yMax, static_cast<std::int16_t>(row.tightness),
                            static_cast<std::int16_t>(row.points)), row.minDist)
        << row.xMax << " + " << row.yMax << ", tightness " << row.tightness;
  const struct { int squares, asked, points; } counts[] = {
      {20, 6, 3},  {34, 6, 5},  {35, 6, 6},  {600, 10, 10}, {10, 3, 1},
      {9, 6, 1},   {1, 6, 1},   {5000, 500, 10}, {600, -4, 1},
  };
  for (const auto& row : counts)
    EXPECT_EQ(AnchorPointCount(row.squares, static_cast<std::int16_t>(row.asked)), row.points)
        << row.squares << " squares, " << row.asked << " asked";
}

// Over sizes, the driver's spans, borders and seeds: only mass codes, all the squares asked
// for (Stick Blob may list an anchor point twice, so the land is the distinct squares
// shown), a border round the land when one is asked for; one seed gives one mass.
TEST(BlobShapers, GiveTheSquaresAskedForAndOnlyMassCodes) {
  for (const auto& shaper : kShapers) {
    for (int squares : {10, 20, 57, 150, 600, 1500})
      for (int q : {3, 6, 9})
        for (int pad : {0, 2, 8}) {
          ShapingFixture fixture(static_cast<std::uint64_t>(squares * 31 + q * 7 + pad));
          BuildContext context = fixture.Context();
          const MassGrid grid = shaper.shape(context, squares, pad, ToInt16(std::sqrt(q * squares)),
                                             ToInt16(std::sqrt((12 - q) * squares)));
          const auto at = ::testing::Message() << shaper.name << ", " << squares << " squares, q " << q << ", pad " << pad;
          ASSERT_TRUE(OnlyMassCodes(grid)) << at;
          EXPECT_EQ(fixture.hooks.land.size(), static_cast<std::size_t>(squares)) << at;
          EXPECT_EQ(CountCode(grid, kLand), DistinctSquares(fixture.hooks.land)) << at;
          EXPECT_EQ(CountCode(grid, kPad) > 0, pad > 0) << at;
        }
    MassGrid grids[3];
    for (std::uint64_t k = 0; k < 3; ++k) {
      ShapingFixture fixture(42 + k / 2);
      BuildContext context = fixture.Context();
      grids[k] = shaper.shape(context, 500, 5, 55, 77);
    }
    EXPECT_EQ(grids[0].Cells(), grids[1].Cells()) << shaper.name;
    EXPECT_NE(grids[0].Cells(), grids[2].Cells()) << shaper.name;
  }
}

// A mass bigger than the inside of its frame is a block in columns and rows Pad .. Pad +
// SpanX + 1, filled column by column up to the room there is; without a border that is
// from column and row 0, which the crop leaves out.
TEST(BlobShapers, TooBigOrOddRequestsFinishWithLand) {
  const struct { int squares, pad, span, land; std::pair<int, int> first; } rows[] = {
      {30, 2, 4, 30, {2, 2}}, {33, 2, 4, 33, {2, 2}}, {5, 0, 1, 1, {0, 0}},  // (0, 0) .. (1, 1): only (1, 1) is cropped in
      {1, 2, 3, 1, {-1, -1}}, {2, 0, 0, 0, {0, 0}},   {300, 99, 0, 4, {99, 99}}};  // x, y = Pad .. Pad + 1
  for (const auto& row : rows)
    for (const auto& shaper : kShapers) {
      ShapingFixture fixture;
      BuildContext context = fixture.Context();
      const auto span = static_cast<std::int16_t>(row.span);
      const MassGrid grid = shaper.shape(context, row.squares, row.pad, span, span);
      EXPECT_TRUE(OnlyMassCodes(grid)) << shaper.name << " " << row.squares;
      EXPECT_EQ(CountCode(grid, kLand), row.land) << shaper.name << " " << row.squares;
      ASSERT_FALSE(fixture.hooks.land.empty());
      EXPECT_TRUE(row.first.first < 0 || fixture.hooks.land.front() == row.first) << shaper.name << " " << row.squares;
    }
}

// The wandering runs while the mass holds no more than its share: 40 % of 100 ends with 41.
TEST(WanderingBlob, WandersWhileTheMassHoldsNoMoreThanItsShare) {
  const struct { int squares, percent, afterWandering; } rows[] = {
      {100, 40, 41}, {100, 10, 11}, {57, 80, 46}, {5, 10, 1}, {30, 100, 30}};
  for (const auto& row : rows) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    BlobCanvas blob(row.squares, 2, 20, 20);
    blob.SetPeriod(5);
    blob.AddLand(context, blob.XMax() / 2, blob.YMax() / 2);
    ASSERT_EQ(Wander(context, blob, row.squares, static_cast<std::int16_t>(row.percent), 15), Growth::kGrown);
    EXPECT_EQ(blob.Count(), row.afterWandering) << row.squares << " at " << row.percent << " %";
  }
}

}  // namespace
}  // namespace lorvex::shaping
