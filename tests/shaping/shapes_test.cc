#include "shaping/shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/numbers.h"
#include "shaping/shape_figures.h"
#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::CountCode;
using testing::OnlyMassCodes;
using testing::ShapingFixture;

// The figure MakeShapeMass draws from a generator in this state (for a valid orientation
// its parameters are the first draws), and the squares it covers.
int FigureSquares(Random random, int code, std::int32_t aim) {
  int count = 0;
  ForEachFigureSquare(Figure(code, aim, DrawFigureParameters(code, random)), 0, [&](std::int32_t, std::int32_t) {
    ++count;
    return true;
  });
  return count;
}

TEST(MakeShapeMass, PercentAndCanvasFollowTheirRules) {
  const struct { float given, used; } percents[] = {
      {0.4f, 0.7f}, {0.5f, 0.5f}, {0.8f, 0.8f}, {1.0f, 1.0f}, {1.01f, 0.7f}, {0.49f, 0.7f},
      {-1.0f, 0.7f}, {std::numeric_limits<float>::quiet_NaN(), 0.7f}};
  for (const auto& row : percents) EXPECT_EQ(ShapePercent(row.given), row.used) << row.given;
  // Twice the box and the pad, at least 50, the box in the middle.
  const struct { int boxWidth, boxHeight, pad, w, h, x0, y0; } layouts[] = {
      {9, 9, 2, 50, 50, 20, 20},  {11, 7, 0, 50, 50, 19, 21},  {30, 20, 5, 70, 50, 20, 15},
      {40, 12, 99, 278, 222, 119, 105}, {0, 0, 0, 50, 50, 25, 25}};
  for (const auto& row : layouts) {
    const ShapeLayout got = LayOutShape(row.boxWidth, row.boxHeight, row.pad);
    EXPECT_EQ(std::make_tuple(got.w, got.h, got.x0, got.y0), std::make_tuple(row.w, row.h, row.x0, row.y0))
        << row.boxWidth << " x " << row.boxHeight << ", pad " << row.pad;
  }
}

// At 100 % the mass is the figure; at 80 % it is the squares asked for unless the figure
// alone covers more; a border rings it; one seed gives one mass.
TEST(MakeShapeMass, GivesTheFigureAndGrowsItToTheSquaresAskedFor) {
  for (int code = 0; code < kFigureCount; ++code)
    for (int squares : {10, 75, 300, 1200, 5000})
      for (float percent : {1.0f, 0.8f}) {
        const auto seed = static_cast<std::uint64_t>(code * 1000 + squares);
        const int pad = squares % 2 == 0 ? 3 : 0;
        ShapingFixture fixture(seed), again(seed);
        const int figure = FigureSquares(fixture.random, code, ToInt32(squares * percent * 1.0));
        BuildContext context = fixture.Context(), againContext = again.Context();
        const MassGrid grid = MakeShapeMass(context, squares, code, static_cast<int>(seed % 8), percent, pad);
        const auto at = ::testing::Message() << FigureCaption(code) << ", " << squares << " squares at " << percent;
        ASSERT_TRUE(OnlyMassCodes(grid)) << at;
        EXPECT_EQ(CountCode(grid, kLand), percent == 1.0f ? std::max(figure, 1) : std::max(squares, figure)) << at;
        EXPECT_EQ(CountCode(grid, kPad) > 0, pad > 0) << at;
        EXPECT_EQ(MakeShapeMass(againContext, squares, code, static_cast<int>(seed % 8), percent, pad).Cells(),
                  grid.Cells()) << at;
      }
}

// An orientation outside 0 .. 7 is drawn, Int(r x 8), before the figure's parameters; a
// figure that covers nothing (a Circle of one square) starts from the canvas centre.
TEST(MakeShapeMass, AnOrientationOutOfRangeIsDrawnFirst) {
  for (int bad : {-1, 8, 1000}) {
    ShapingFixture drawn(21), given(21);
    const int orientation = static_cast<int>(std::floor(given.random.Next() * 8));
    BuildContext drawnContext = drawn.Context(), givenContext = given.Context();
    EXPECT_EQ(MakeShapeMass(drawnContext, 400, 16, bad, 0.8f, 2).Cells(),
              MakeShapeMass(givenContext, 400, 16, orientation, 0.8f, 2).Cells()) << bad;
  }
  for (float percent : {1.0f, 0.5f}) {
    ShapingFixture fixture;
    BuildContext context = fixture.Context();
    const MassGrid grid = MakeShapeMass(context, percent == 1.0f ? 1 : 2, 6, 0, percent, 1);
    ASSERT_FALSE(fixture.hooks.land.empty());
    EXPECT_EQ(fixture.hooks.land.front(), std::make_pair(25, 25));
    EXPECT_EQ(CountCode(grid, kLand), percent == 1.0f ? 1 : 2);
  }
}

// The growth turns erratic at the step that begins with 51 completed steps when the even
// share is 0.5 of T = 100 (50 < 50 is false, 50 < 51 true), then draws from count - 15 on;
// on a canvas with room for 9 squares inside its border, growth asked for 20 ends with 9.
TEST(GrowShape, TurnsErraticAfterItsEvenShareAndEndsWhenTheCanvasIsFull) {
  ShapingFixture fixture;
  BuildContext context = fixture.Context();
  ShapeCanvas shape(50, 50, 102);
  shape.AddLand(context, 25, 25);
  const ShapeGrowth growth = GrowShape(context, shape, 102, 0.5, 15);
  EXPECT_TRUE(growth.switched);
  EXPECT_EQ(growth.switchSteps, 51);
  EXPECT_EQ(growth.lo, 52 - 15);
  EXPECT_EQ(shape.Count(), 102);

  ShapeCanvas small(4, 4, 20);
  small.AddLand(context, 2, 2);
  GrowShape(context, small, 20, 0.3, 1);
  EXPECT_EQ(small.Count(), 9);
}

}  // namespace
}  // namespace lorvex::shaping
