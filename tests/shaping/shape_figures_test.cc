#include "shaping/shape_figures.h"

#include <gtest/gtest.h>

#include <cmath>

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

int Covered(const Grid<char>& grid) { return static_cast<int>(std::count(grid.Cells().begin(), grid.Cells().end(), 'C')); }

// Each figure's area aims at N; its outline gains or loses part of a square at either end of
// each of its Lu columns and Lv rows (the "I"-Shape aims lower by design: N (1 - 4qs) /
// (1 - 2qs)); from 100 squares up it spans at least 60 % of each extent less 2 squares.
TEST(ShapeFigures, EachFigureCoversItsAreaAndSpansItsBox) {
  for (int code = 0; code < kFigureCount; ++code)
    for (int n : {20, 37, 100, 333, 1000, 5000})
      for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        Random random(seed * 1000 + static_cast<std::uint64_t>(code * 10 + n));
        const FigureDraws draws = DrawFigureParameters(code, random);
        const Figure figure(code, n, draws);
        const double aim = code == 23 ? n * (1 - 4 * draws[1] * draws[2]) / (1 - 2 * draws[1] * draws[2]) : n;
        const auto at = ::testing::Message() << FigureCaption(code) << ", N " << n << ", seed " << seed;
        EXPECT_LE(std::abs(Covered(Draw(figure, 0)) - aim), figure.Lu() + figure.Lv()) << at;
        int minU = figure.Lu(), maxU = -1, minV = figure.Lv(), maxV = -1;
        for (int v = 0; v < figure.Lv(); ++v)
          for (int u = 0; u < figure.Lu(); ++u)
            if (figure.Inside(u, v)) {
              minU = std::min(minU, u), maxU = std::max(maxU, u);
              minV = std::min(minV, v), maxV = std::max(maxV, v);
            }
        EXPECT_TRUE(n < 100 || (maxU - minU + 1 >= 0.6 * figure.Lu() - 2 && maxV - minV + 1 >= 0.6 * figure.Lv() - 2)) << at;
      }
  // A Rectangle without stretch is a square of side Round(sqrt(N)).
  EXPECT_EQ(Covered(Draw(Figure(0, 100, {0, 0, 0}), 0)), 100);
  EXPECT_EQ(Covered(Draw(Figure(0, 50, {0, 0, 0}), 0)), 49);
}

// Orientation 3 is the half turn of 0; 4 swaps the axes, so its box is Lv wide and Lu high
// and it is the mirror of 0 in the diagonal; all eight cover as many squares.
TEST(ShapeFigures, OrientationsAreTheSymmetriesOfTheSquare) {
  for (int code = 0; code < kFigureCount; ++code) {
    Random random(3 + static_cast<std::uint64_t>(code));
    const Figure figure(code, 150, DrawFigureParameters(code, random));
    const Grid<char> base = Draw(figure, 0), half = Draw(figure, 3), swapped = Draw(figure, 4);
    const int b = base.Width(), a = base.Height();
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

}  // namespace
}  // namespace lorvex::shaping
