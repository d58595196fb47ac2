#include "shaping/blob_growth.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::ShapingFixture;

bool Touches(const GrowthSquare& a, std::pair<int, int> b) {
  return std::abs(a.x - b.first) + std::abs(a.y - b.second) == 1;
}

// Every "K" lies in one side's frame band, and every square of a band that is not land is
// "K": the frame moves and moves back line by line without leaving holes or strays.
void ExpectFrameBandsHold(const BlobCanvas& blob) {
  for (int y = 0; y <= blob.YMax(); ++y)
    for (int x = 0; x <= blob.XMax(); ++x) {
      const bool band = y < blob.Depth(kTopSide) || y > blob.YMax() - blob.Depth(kBottomSide) ||
                        x < blob.Depth(kLeftSide) || x > blob.XMax() - blob.Depth(kRightSide);
      const char c = blob.At(x, y);
      if (c == kLand) continue;
      ASSERT_EQ(c == kMark, band) << "square " << x << "," << y;
    }
  for (int side = 0; side < 4; ++side) EXPECT_GE(blob.Depth(side), 1);
}

TEST(BlobCanvas, FrameIsOneRingWithoutPadAndPadPlusOneWithIt) {
  const struct {
    int pad, spanX, spanY, xMax, yMax, rings;
  } rows[] = {{0, 10, 6, 12, 8, 1}, {1, 10, 6, 14, 10, 2}, {3, 0, 0, 8, 8, 4}, {-5, -2, 4, 2, 6, 1}};
  for (const auto& row : rows) {
    const BlobCanvas blob(100, row.pad, static_cast<std::int16_t>(row.spanX),
                          static_cast<std::int16_t>(row.spanY));
    EXPECT_EQ(blob.XMax(), row.xMax);
    EXPECT_EQ(blob.YMax(), row.yMax);
    EXPECT_EQ(blob.Rings(), row.rings);
    // The inside of the frame is (SpanX + 1) x (SpanY + 1).
    int open = 0;
    for (char c : blob.Canvas().Cells()) open += c == kOpen ? 1 : 0;
    EXPECT_EQ(open, blob.InteriorSquares());
    EXPECT_EQ(open, (std::max(row.spanX, 0) + 1) * (row.spanY + 1));
    ExpectFrameBandsHold(blob);
  }
}

// A line of ten squares; from low = 8 only the two newest may grow.
TEST(AddGrowthSquare, GrowsFromTheWindowFromLowOn) {
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    ShapingFixture fixture(seed);
    BuildContext context = fixture.Context();
    BlobCanvas blob(20, 0, 30, 30);
    for (int x = 5; x < 15; ++x) blob.AddLand(context, x, 10);
    std::int32_t low = 8;
    ASSERT_EQ(blob.AddGrowthSquare(context, low, 50), Growth::kGrown);
    const std::pair<int, int> added = fixture.hooks.land.back();
    EXPECT_TRUE(Touches(blob.Squares()[8], added) || Touches(blob.Squares()[9], added))
        << "seed " << seed << " added " << added.first << "," << added.second;
    EXPECT_EQ(low, 8);
  }
}

// The newest squares have no open side: the window reaches back one square per failed
// draw after `erratic` failures, and the square grows from an older one.
TEST(AddGrowthSquare, WidensTheWindowWhenItsSquaresCannotGrow) {
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    ShapingFixture fixture(seed);
    BuildContext context = fixture.Context();
    BlobCanvas blob(40, 0, 20, 20);
    // A 3 x 3 block, its centre added last, then the centre's four sides again last of all
    // cannot be: so the block's centre is the only entry in the window from 8 on.
    for (int y = 9; y <= 11; ++y)
      for (int x = 9; x <= 11; ++x)
        if (x != 10 || y != 10) blob.AddLand(context, x, y);
    blob.AddLand(context, 10, 10);
    std::int32_t low = 8;
    ASSERT_EQ(blob.AddGrowthSquare(context, low, 3), Growth::kGrown);
    EXPECT_LT(low, 8);
    EXPECT_TRUE(blob.Exhausted(8));
    EXPECT_EQ(blob.Count(), 10);
  }
}

TEST(AddGrowthSquare, EndsWhenNoSquareOfTheMassCanGrow) {
  ShapingFixture fixture;
  BuildContext context = fixture.Context();
  BlobCanvas blob(10, 0, 1, 0);  // 2 x 1 squares inside the canvas's outer ring
  blob.AddLand(context, 1, 1);
  EXPECT_EQ(GrowMass(context, blob, 10, 50, 3), Growth::kNoRoom);
  EXPECT_EQ(blob.Count(), 2);
  ExpectFrameBandsHold(blob);
}

// Land inside the frame (where an anchor point may fall when the border is wide and the
// span small) grows out through the frame, which steps back towards the canvas edge.
TEST(AddGrowthSquare, LandInsideTheFrameGrowsOutThroughIt) {
  for (std::uint64_t seed = 1; seed <= 10; ++seed) {
    ShapingFixture fixture(seed);
    BuildContext context = fixture.Context();
    BlobCanvas blob(10, 8, 8, 8);  // frame 9 deep, inside x, y = 9 .. 17
    blob.SetPeriod(3);
    blob.AddLand(context, 7, 13);
    EXPECT_EQ(GrowMass(context, blob, 10, 50, 15), Growth::kGrown);
    EXPECT_EQ(blob.Count(), 10);
    ExpectFrameBandsHold(blob);
  }
}

// A mass that exactly fills the inside of its frame pushes the frame in on every side; it
// still gets all its squares, the frame moving back where it had closed over open room.
TEST(GrowMass, FillsAFrameItExactlyFitsAndKeepsTheFrameBandsWhole) {
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    ShapingFixture fixture(seed);
    BuildContext context = fixture.Context();
    BlobCanvas blob(99, static_cast<std::int32_t>(seed % 4), 10, 8);
    ASSERT_EQ(blob.InteriorSquares(), 99);
    blob.SetPeriod(DrawFramePeriod(fixture.random));
    blob.AddLand(context, blob.XMax() / 2, blob.YMax() / 2);
    EXPECT_EQ(GrowMass(context, blob, 99, 30, 3), Growth::kGrown) << "seed " << seed;
    EXPECT_EQ(blob.Count(), 99);
    ExpectFrameBandsHold(blob);
  }
}

// With room to spare the frame closes in on the sides the growth pushes against, and the
// bands stay whole.
TEST(GrowMass, TheFrameMovesInWhereTheGrowthPushes) {
  int moved = 0;
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    ShapingFixture fixture(seed);
    BuildContext context = fixture.Context();
    BlobCanvas blob(400, 2, 30, 20);
    blob.SetPeriod(DrawFramePeriod(fixture.random));
    blob.AddLand(context, blob.XMax() / 2, blob.YMax() / 2);
    ASSERT_EQ(GrowMass(context, blob, 400, 30, 3), Growth::kGrown);
    ExpectFrameBandsHold(blob);
    for (int side = 0; side < 4; ++side) moved += blob.Depth(side) != blob.Rings() ? 1 : 0;
  }
  EXPECT_GT(moved, 0);
}

// A line of 50 squares grown by 9 more. With EvenPad 0 the growth turns erratic at its
// second step (0 x 8 < 1) and then grows only from the window that starts 3 squares before
// the switch: the line's two east squares and the square of the first step. So every later
// square lies within 8 side steps of one of those three. With EvenPad 100 it never turns
// and grows from anywhere on the line.
TEST(GrowMass, TurnsErraticAfterTheEvenShareAndThenGrowsFromTheNewestSquares) {
  int farFromTheEnd[2] = {0, 0};
  for (int evenPad : {0, 100})
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
      ShapingFixture fixture(seed);
      BuildContext context = fixture.Context();
      BlobCanvas blob(60, 0, 60, 20);
      blob.SetPeriod(9);
      for (int x = 5; x < 55; ++x) blob.AddLand(context, x, 10);
      ASSERT_EQ(GrowMass(context, blob, 59, static_cast<std::int16_t>(evenPad), 3), Growth::kGrown);
      const auto& list = blob.Squares();
      for (std::size_t k = 51; k < list.size(); ++k) {
        bool near = false;
        for (std::size_t w = 48; w <= 50; ++w)
          near = near || std::abs(list[k].x - list[w].x) + std::abs(list[k].y - list[w].y) <= 8;
        farFromTheEnd[evenPad == 0 ? 0 : 1] += near ? 0 : 1;
      }
    }
  EXPECT_EQ(farFromTheEnd[0], 0);
  EXPECT_GT(farFromTheEnd[1], 0);
}

}  // namespace
}  // namespace lorvex::shaping
