#include "shaping/shape_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace lorvex::shaping {
namespace {

// The figure's squares in its box for one orientation: "C" inside, "X" outside.
Grid<char> Draw(const Figure& figure, int orientation) {
  Grid<char> grid(figure.BoxWidth(orientation), figure.BoxHeight(orientation), 'X');
  ForEachFigureSquare(figure, orientation, [&](std::int32_t x, std::int32_t y) {
    grid(x, y) = 'C';
    return true;
  });
  return grid;
}

int Covered(const Grid<char>& grid) {
  int count = 0;
  for (char c : grid.Cells()) count += c == 'C' ? 1 : 0;
  return count;
}

// The code, caption and check-box index of every figure, as the Shapes page numbers them.
TEST(ShapeFigures, CodesCaptionsAndBoxes) {
  const struct {
    int code;
    const char* caption;
    int box;
  } rows[] = {
      {0, "Rectangle", 0},          {1, "Obtuse Triangle", 3},   {2, "Trapezoid", 5},
      {3, "Triangle", 1},           {4, "Right Triangle", 2},    {5, "Parallelogram", 4},
      {6, "Circle", 6},             {7, "Ellipse", 10},          {8, "Half-Circle", 8},
      {9, "3/4-Circle", 7},         {10, "Quarter-Circle", 9},   {11, "Rectangle + Triangle", 16},
      {12, "\"L\"-Shape", 12},      {13, "\"U\"-Shape", 13},     {14, "Hourglass", 17},
      {15, "Teardrop", 11},         {16, "Arrowhead", 22},       {17, "Diamond", 18},
      {18, "Arrow", 23},            {19, "\"T\"-Shape", 14},     {20, "4-point Star", 19},
      {21, "3 Points of Star", 20}, {22, "2 Points of Star", 21}, {23, "\"I\"-Shape", 15},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(std::string(FigureCaption(row.code)), row.caption) << row.code;
    EXPECT_EQ(FigureBox(row.code), row.box) << row.code;
  }
}

TEST(ShapeFigures, DrawsComeInTheFigureOrderWithinTheirRanges) {
  const struct {
    int code;
    double lo[3], hi[3];
  } rows[] = {
      {0, {-0.8}, {0.8}},
      {12, {-0.8, -0.5, -0.5}, {0.8, 0.5, 0.5}},
      {18, {0.7, 1.0, 0.5}, {1.3, 2.5, 1.0}},
      {6, {}, {}},
  };
  for (const auto& row : rows) {
    Random drawn(5), plain(5);
    const FigureDraws draws = DrawFigureParameters(row.code, drawn);
    for (int i = 0; i < FigureDrawCount(row.code); ++i)
      EXPECT_DOUBLE_EQ(draws[static_cast<std::size_t>(i)],
                       row.lo[i] + plain.Next() * (row.hi[i] - row.lo[i]))
          << "code " << row.code << " draw " << i;
    EXPECT_EQ(drawn.Next(), plain.Next()) << "code " << row.code << " drew more than its parameters";
  }
}

TEST(ShapeFigures, RectangleWithoutStretchIsASquareOfSideRoundSqrtN) {
  const Figure figure(0, 100, {0, 0, 0});
  EXPECT_EQ(figure.Lu(), 10);
  EXPECT_EQ(figure.Lv(), 10);
  EXPECT_EQ(Covered(Draw(figure, 0)), 100);
  const Figure odd(0, 50, {0, 0, 0});  // side Round(7.07) = 7
  EXPECT_EQ(odd.Lu(), 7);
  EXPECT_EQ(Covered(Draw(odd, 0)), 49);
}

// Each figure's area aims at N. The inside tests compare whole squares with real or rounded
// bounds, and the extents are rounded, so along each of its Lv rows and Lu columns the
// figure's outline can gain or lose part of a square at either end: over many figures the
// count stays within Lu + Lv of the aim (measured worst: 0.9 of it, for small "I"s). The
// "I"-Shape aims lower by design: N (1 - 4qs) / (1 - 2qs).
TEST(ShapeFigures, EachFigureCoversItsAreaWithinTheRoundingOfItsOutline) {
  for (int code = 0; code < kFigureCount; ++code)
    for (int n : {20, 37, 100, 333, 1000, 2500, 5000})
      for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        Random random(seed * 1000 + static_cast<std::uint64_t>(code * 10 + n));
        const FigureDraws draws = DrawFigureParameters(code, random);
        const Figure figure(code, n, draws);
        const double aim = code == 23 ? n * (1 - 4 * draws[1] * draws[2]) / (1 - 2 * draws[1] * draws[2]) : n;
        const int covered = Covered(Draw(figure, 0));
        EXPECT_LE(std::abs(covered - aim), figure.Lu() + figure.Lv())
            << FigureCaption(code) << ", N " << n << ", seed " << seed << ": " << covered;
      }
}

// The figure spans its Lu x Lv box but for the slack its extents give it: points and
// apexes that round away at the ends, the "I"'s narrow waist when it takes every row of a
// small figure, the Teardrop keeping room for the whole disc. Measured, every figure spans
// at least 2/3 of each extent less 2 squares; extents too large (or swapped) fall short.
TEST(ShapeFigures, EachFigureSpansItsBox) {
  for (int code = 0; code < kFigureCount; ++code)
    for (int n : {20, 40, 400, 4000})
      for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        Random random(seed * 31 + static_cast<std::uint64_t>(code * 7 + n));
        const Figure figure(code, n, DrawFigureParameters(code, random));
        int minU = figure.Lu(), maxU = -1, minV = figure.Lv(), maxV = -1;
        for (int v = 0; v < figure.Lv(); ++v)
          for (int u = 0; u < figure.Lu(); ++u)
            if (figure.Inside(u, v)) {
              minU = std::min(minU, u), maxU = std::max(maxU, u);
              minV = std::min(minV, v), maxV = std::max(maxV, v);
            }
        ASSERT_GE(maxU, 0) << FigureCaption(code) << " covers nothing at N " << n;
        EXPECT_GE(maxU - minU + 1, 0.6 * figure.Lu() - 2) << FigureCaption(code) << " N " << n;
        EXPECT_GE(maxV - minV + 1, 0.6 * figure.Lv() - 2) << FigureCaption(code) << " N " << n;
      }
}

// Orientation 3 is the half turn of orientation 0; orientation 4 swaps the axes, so its box
// is Lv wide and Lu high and it is the mirror of orientation 0 in the diagonal; the eight
// orientations cover the same number of squares.
TEST(ShapeFigures, OrientationsAreTheSymmetriesOfTheSquare) {
  for (int code = 0; code < kFigureCount; ++code)
    for (std::uint64_t seed : {3u, 4u}) {
      Random random(seed + static_cast<std::uint64_t>(code));
      const Figure figure(code, 150, DrawFigureParameters(code, random));
      const Grid<char> base = Draw(figure, 0), half = Draw(figure, 3), swapped = Draw(figure, 4);
      const int b = base.Width(), a = base.Height();
      ASSERT_EQ(b, figure.Lu());
      ASSERT_EQ(a, figure.Lv());
      ASSERT_EQ(swapped.Width(), a);
      ASSERT_EQ(swapped.Height(), b);
      for (int y = 0; y < a; ++y)
        for (int x = 0; x < b; ++x) {
          EXPECT_EQ(half(b - 1 - x, a - 1 - y), base(x, y)) << FigureCaption(code) << " " << x << "," << y;
          EXPECT_EQ(swapped(y, x), base(x, y)) << FigureCaption(code) << " " << x << "," << y;
        }
      for (int orientation = 1; orientation < kOrientationCount; ++orientation)
        EXPECT_EQ(Covered(Draw(figure, orientation)), Covered(base)) << FigureCaption(code);
    }
}

// A Trapezoid with Lu = 11 and Lv = 7 occupies 7 columns by 11 rows in orientation 4.
TEST(ShapeFigures, OrientationFourSwapsTheExtentsOfTheBox) {
  const Figure trapezoid(2, 46, {1.5, 0.25, 0});  // h = 6.39, b = 9.59
  ASSERT_EQ(trapezoid.Lu(), 11);
  ASSERT_EQ(trapezoid.Lv(), 7);
  EXPECT_EQ(trapezoid.BoxWidth(4), 7);
  EXPECT_EQ(trapezoid.BoxHeight(4), 11);
  EXPECT_EQ(trapezoid.BoxWidth(3), 11);
  EXPECT_EQ(trapezoid.BoxHeight(3), 7);
  const Grid<char> turned = Draw(trapezoid, 4);
  int columns = 0, rows = 0;
  for (int x = 0; x < turned.Width(); ++x) {
    bool any = false;
    for (int y = 0; y < turned.Height(); ++y) any = any || turned(x, y) == 'C';
    columns += any ? 1 : 0;
  }
  for (int y = 0; y < turned.Height(); ++y) {
    bool any = false;
    for (int x = 0; x < turned.Width(); ++x) any = any || turned(x, y) == 'C';
    rows += any ? 1 : 0;
  }
  EXPECT_EQ(columns, 7);  // the figure's height runs across
  EXPECT_EQ(rows, 9);     // its base, 9.59 wide about the box's middle, runs down
}

TEST(ShapeFigures, ParametersOutsideTheirRangesAndTinyAreasAreHeld) {
  // d = -1 would divide by zero; it is held to -0.8.
  const Figure held(0, 100, {-1, 0, 0});
  const Figure edge(0, 100, {-0.8, 0, 0});
  EXPECT_EQ(held.Lu(), edge.Lu());
  EXPECT_EQ(held.Lv(), edge.Lv());
  const Figure notANumber(7, 100, {std::nan(""), 0, 0});
  EXPECT_GT(notANumber.Lu(), 0);
  for (int code = 0; code < kFigureCount; ++code) {
    const Figure none(code, 0, MiddleFigureParameters(code));
    EXPECT_EQ(none.Lu(), 0) << FigureCaption(code);
    EXPECT_EQ(Covered(Draw(none, 0)), 0);
  }
  const Figure unknown(99, 100, {0, 0, 0});
  EXPECT_EQ(unknown.Code(), 0);
}

// The pictures use the middle of every range: the Rectangle is square, the Arrowhead has
// p = 1 and q = 0.75.
TEST(ShapeFigures, PicturesUseTheMiddleOfEachRange) {
  EXPECT_EQ(MiddleFigureParameters(0), (FigureDraws{0, 0, 0}));
  EXPECT_EQ(MiddleFigureParameters(16), (FigureDraws{1.0, 0.75, 0}));
  const Grid<char> square = FigurePicture(0, 100);
  EXPECT_EQ(square.Width(), 10);
  EXPECT_EQ(square.Height(), 10);
  for (int code = 0; code < kFigureCount; ++code) {
    const Figure figure(code, 400, MiddleFigureParameters(code));
    const Grid<char> picture = FigurePicture(code, 400, 5);
    EXPECT_EQ(picture.Cells(), Draw(figure, 5).Cells()) << FigureCaption(code);
  }
}

}  // namespace
}  // namespace lorvex::shaping
