#include "shaping/shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::CountCode;
using testing::OnlyMassCodes;
using testing::ShapingFixture;

// The figure MakeShapeMass draws from a generator in this state, for a valid orientation:
// its parameters are the first draws.
Figure FigureDrawnFrom(Random random, int code, std::int32_t aim) {
  return Figure(code, aim, DrawFigureParameters(code, random));
}

int FigureSquares(const Figure& figure) {
  int count = 0;
  ForEachFigureSquare(figure, 0, [&](std::int32_t, std::int32_t) {
    ++count;
    return true;
  });
  return count;
}

TEST(MakeShapeMass, PercentOutsideHalfToWholeIsSevenTenths) {
  const struct {
    float given, used;
  } rows[] = {{0.4f, 0.7f},  {0.5f, 0.5f},   {0.8f, 0.8f}, {1.0f, 1.0f},
              {1.01f, 0.7f}, {0.49f, 0.7f},  {0.0f, 0.7f}, {-1.0f, 0.7f},
              {std::numeric_limits<float>::quiet_NaN(), 0.7f}};
  for (const auto& row : rows) EXPECT_EQ(ShapePercent(row.given), row.used) << row.given;
}

TEST(MakeShapeMass, CanvasIsTwiceTheBoxAndPadAtLeastFiftyWithTheBoxInTheMiddle) {
  const struct {
    int boxWidth, boxHeight, pad;
    ShapeLayout layout;
  } rows[] = {
      {9, 9, 2, {50, 50, 20, 20}},    // the 100-square mass at 80 %: Int(25 - 4.5)
      {11, 7, 0, {50, 50, 19, 21}},   // Int(19.5) = 19, Int(21.5) = 21
      {30, 20, 5, {70, 50, 20, 15}},
      {40, 12, 99, {278, 222, 119, 105}},
      {0, 0, 0, {50, 50, 25, 25}},
  };
  for (const auto& row : rows) {
    const ShapeLayout got = LayOutShape(row.boxWidth, row.boxHeight, row.pad);
    EXPECT_EQ(got.w, row.layout.w) << row.boxWidth << " x " << row.boxHeight;
    EXPECT_EQ(got.h, row.layout.h) << row.boxWidth << " x " << row.boxHeight;
    EXPECT_EQ(got.x0, row.layout.x0) << row.boxWidth << " x " << row.boxHeight;
    EXPECT_EQ(got.y0, row.layout.y0) << row.boxWidth << " x " << row.boxHeight;
  }
}

// With Percent 1 there is no growth: the mass is the figure, drawn from the first draws,
// in its box on the canvas the layout gives; the Rectangle fills its box from (x0, y0).
TEST(MakeShapeMass, AWholeFigureIsTheMassAndLiesInItsBox) {
  for (int code = 0; code < kFigureCount; ++code)
    for (int orientation : {0, 3, 4, 6}) {
      ShapingFixture fixture(static_cast<std::uint64_t>(code * 8 + orientation));
      const Figure figure = FigureDrawnFrom(fixture.random, code, 300);
      BuildContext context = fixture.Context();
      const MassGrid grid = MakeShapeMass(context, 300, code, orientation, 1.0f, 0);
      const int b = figure.BoxWidth(orientation), a = figure.BoxHeight(orientation);
      const ShapeLayout layout = LayOutShape(b, a, 0);
      ASSERT_EQ(fixture.hooks.previews.size(), 1u);
      EXPECT_EQ(fixture.hooks.previews[0], std::make_pair(layout.w, layout.h));
      EXPECT_EQ(CountCode(grid, kLand), FigureSquares(figure)) << FigureCaption(code);
      EXPECT_EQ(CountCode(grid, kPad), 0);
      EXPECT_LE(grid.Width(), b) << FigureCaption(code) << " orientation " << orientation;
      EXPECT_LE(grid.Height(), a) << FigureCaption(code) << " orientation " << orientation;
      for (const auto& [x, y] : fixture.hooks.land) {
        EXPECT_GE(x, layout.x0);
        EXPECT_LT(x, layout.x0 + b);
        EXPECT_GE(y, layout.y0);
        EXPECT_LT(y, layout.y0 + a);
      }
      if (code == 0) {
        EXPECT_EQ(fixture.hooks.land.front(), std::make_pair(layout.x0, layout.y0));
      }
    }
}

// Over every figure, orientation, border and a range of sizes at the default 80 %: only
// mass codes, and the squares asked for unless the figure alone covers more.
TEST(MakeShapeMass, GivesTheSquaresAskedForUnlessTheFigureCoversMore) {
  for (int code = 0; code < kFigureCount; ++code)
    for (int squares : {10, 20, 75, 300, 1200, 5000})
      for (int pad : {0, 3}) {
        const auto seed = static_cast<std::uint64_t>(code * 1000 + squares + pad);
        const int orientation = static_cast<int>(seed % 8);
        ShapingFixture fixture(seed);
        const Figure figure = FigureDrawnFrom(fixture.random, code, ToInt32(squares * 0.8f * 1.0));
        BuildContext context = fixture.Context();
        const MassGrid grid = MakeShapeMass(context, squares, code, orientation, 0.8f, pad);
        const auto at = ::testing::Message() << FigureCaption(code) << ", " << squares
                                             << " squares, pad " << pad;
        ASSERT_TRUE(OnlyMassCodes(grid)) << at;
        EXPECT_EQ(CountCode(grid, kLand), std::max(squares, FigureSquares(figure))) << at;
        EXPECT_EQ(CountCode(grid, kPad) > 0, pad > 0) << at;
      }
}

TEST(MakeShapeMass, OneSeedGivesOneMass) {
  MassGrid grids[3];
  const std::uint64_t seeds[3] = {8, 8, 9};
  for (int k = 0; k < 3; ++k) {
    ShapingFixture fixture(seeds[k]);
    BuildContext context = fixture.Context();
    grids[k] = MakeShapeMass(context, 700, 12, 5, 0.7f, 4);
  }
  EXPECT_EQ(grids[0].Cells(), grids[1].Cells());
  EXPECT_NE(grids[0].Cells(), grids[2].Cells());
}

// An orientation outside 0 .. 7 is drawn before the figure's parameters: Int(r x 8).
TEST(MakeShapeMass, AnOrientationOutOfRangeIsDrawnFirst) {
  for (int bad : {-1, 8, 1000}) {
    ShapingFixture drawn(21), given(21);
    const int orientation = static_cast<int>(std::floor(given.random.Next() * 8));
    BuildContext drawnContext = drawn.Context(), givenContext = given.Context();
    const MassGrid a = MakeShapeMass(drawnContext, 400, 16, bad, 0.8f, 2);
    const MassGrid b = MakeShapeMass(givenContext, 400, 16, orientation, 0.8f, 2);
    EXPECT_EQ(a.Cells(), b.Cells()) << bad;
    EXPECT_EQ(drawn.hooks.land, given.hooks.land) << bad;
  }
}

// A figure that covers no square (a Circle of one square: r = 0.56 about the middle of a
// 4-square box) still hands over land: with Percent 1 the centre square, below it the
// growth from the centre.
TEST(MakeShapeMass, AFigureThatCoversNothingStartsFromTheCentre) {
  for (float percent : {1.0f, 0.5f}) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    const MassGrid grid = MakeShapeMass(context, percent == 1.0f ? 1 : 2, 6, 0, percent, 1);
    ASSERT_FALSE(fixture.hooks.land.empty());
    EXPECT_EQ(fixture.hooks.land.front(), std::make_pair(25, 25));
    EXPECT_EQ(CountCode(grid, kLand), percent == 1.0f ? 1 : 2);
  }
}

// Shapes yields only in watch mode's pauses; a stop pressed during one ends the figure or
// the growth at that square, and the mass so far is padded and handed over.
TEST(MakeShapeMass, AStopDuringAPauseEndsShapingWithTheLandSoFar) {
  for (std::size_t stopAtLand : {1u, 10u, 250u, 390u}) {
    ShapingFixture fixture(4);
    fixture.hooks.stopAtLand = stopAtLand;
    BuildContext context = fixture.Context();
    const MassGrid grid = MakeShapeMass(context, 400, 2, 1, 0.7f, 2);  // a figure of 280
    EXPECT_TRUE(OnlyMassCodes(grid)) << stopAtLand;
    EXPECT_EQ(fixture.hooks.land.size(), stopAtLand);
    EXPECT_EQ(CountCode(grid, kLand), static_cast<int>(stopAtLand));
    EXPECT_GT(CountCode(grid, kPad), 0) << stopAtLand;
  }
}

TEST(MakeShapeMass, BadInputFinishesWithLand) {
  const struct {
    int squares, shape, orientation, pad;
    float percent;
  } rows[] = {{1, 0, 0, 0, 0.8f},   {2, 7, 1, 99, 0.8f},   {3, 23, 2, 0, 1.0f},  {4, 15, 3, 5, 0.5f},
              {5, 20, 4, 0, 0.8f},  {6, 10, 5, 2, 1.0f},   {7, 21, 6, 0, 0.6f},  {8, 18, 7, 99, 0.8f},
              {9, 11, 0, 1, 0.8f},  {0, 3, 0, 2, 0.8f},    {-50, 3, 0, 2, 0.8f}, {300, -1, 0, 2, 0.8f},
              {300, 24, 0, 2, 0.8f}, {300, 5, 0, -9, 0.8f}, {300, 5, 0, 100000, 0.8f}};
  for (const auto& row : rows) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    const MassGrid grid =
        MakeShapeMass(context, row.squares, row.shape, row.orientation, row.percent, row.pad);
    EXPECT_TRUE(OnlyMassCodes(grid)) << row.squares << " squares, shape " << row.shape;
    EXPECT_GT(CountCode(grid, kLand), 0) << row.squares << " squares, shape " << row.shape;
  }
}

// The growth turns erratic at the step that begins with 51 completed steps when the even
// share is 0.5 of T = 100 (50 < 50 is false, 50 < 51 true), and then draws its sources
// from the record count - txtShape(2) on.
TEST(GrowShape, TurnsErraticAfterItsEvenShare) {
  ShapingFixture fixture;
  BuildContext context = fixture.Context();
  ShapeCanvas shape(50, 50, 102);
  shape.AddLand(context, 25, 25);
  const ShapeGrowth growth = GrowShape(context, shape, 102, 0.5, 15);  // T = 102 - 1 - 1
  EXPECT_TRUE(growth.switched);
  EXPECT_EQ(growth.switchSteps, 51);
  EXPECT_EQ(growth.lo, 52 - 15);
  EXPECT_EQ(shape.Count(), 102);
}

// After the switch every new square grows from a record at lo or later: it touches one.
TEST(GrowShape, ErraticGrowthComesFromTheNewestRecords) {
  for (std::uint64_t seed = 1; seed <= 10; ++seed) {
    ShapingFixture fixture(seed);
    BuildContext context = fixture.Context();
    ShapeCanvas shape(60, 60, 400);
    for (int y = 20; y < 40; ++y)
      for (int x = 20; x < 30; ++x) shape.AddLand(context, x, y);
    const ShapeGrowth growth = GrowShape(context, shape, 400, 0.1, 3);
    ASSERT_TRUE(growth.switched);
    const int firstErratic = 200 + growth.switchSteps;
    for (int k = firstErratic; k < shape.Count(); ++k) {
      bool touches = false;
      for (int j = growth.lo; j < k && !touches; ++j)
        touches = std::abs(shape.list[static_cast<std::size_t>(j)].x - shape.list[static_cast<std::size_t>(k)].x) +
                      std::abs(shape.list[static_cast<std::size_t>(j)].y - shape.list[static_cast<std::size_t>(k)].y) ==
                  1;
      EXPECT_TRUE(touches) << "seed " << seed << " record " << k;
    }
  }
}

// On a canvas with room for 9 squares inside its border, growth asked for 20 ends with the
// 9 and never puts land on the border rows and columns.
TEST(GrowShape, EndsWhenTheMassFillsTheCanvasInsideItsBorder) {
  ShapingFixture fixture;
  BuildContext context = fixture.Context();
  ShapeCanvas shape(4, 4, 20);
  shape.AddLand(context, 2, 2);
  GrowShape(context, shape, 20, 0.3, 1);
  EXPECT_EQ(shape.Count(), 9);
  for (const GrowthSquare& s : shape.list) {
    EXPECT_GE(std::min(s.x, s.y), 1);
    EXPECT_LE(std::max(s.x, s.y), 3);
  }
}

}  // namespace
}  // namespace lorvex::shaping
