#include <array>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "shaping/blob_growth.h"
#include "shaping/mass_canvas.h"
#include "shaping/shape_figures.h"
#include "shaping/stick_blob.h"
#include "shaping/wandering_blob.h"
#include "support/engine_rig.h"

namespace lorvex::shaping {
namespace {

// Hooks that record the land squares the mass preview is shown.
class RecordingHooks : public SilentHooks {
 public:
  void StartMassPreview(int, int) override {
    land.clear();
    ++previews;
  }
  void ShowLandSquare(int x, int y) override { land.emplace_back(x, y); }

  std::vector<std::pair<int, int>> land;  // since the last StartMassPreview
  int previews = 0;
};

using ShapingFixture = checks::EngineRig<RecordingHooks>;

int CountCode(const MassGrid& grid, char code) {
  return static_cast<int>(std::count(grid.Cells().begin(), grid.Cells().end(), code));
}

// The figure's squares in its box for one orientation: "C" inside, "X" outside.
Grid<char> Draw(const Figure& figure, int orientation) {
  Grid<char> grid(figure.BoxWidth(orientation), figure.BoxHeight(orientation), 'X');
  ForEachFigureSquare(figure, orientation, [&](std::int32_t x, std::int32_t y) {
    grid(x, y) = 'C';
    return true;
  });
  return grid;
}

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
        EXPECT_LE(std::abs(CountCode(Draw(figure, 0), 'C') - aim), figure.Lu() + figure.Lv()) << at;
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
  EXPECT_EQ(CountCode(Draw(Figure(0, 100, {0, 0, 0}), 0), 'C'), 100);
  EXPECT_EQ(CountCode(Draw(Figure(0, 50, {0, 0, 0}), 0), 'C'), 49);
}

// Stick Blob and Wandering Blob as the driver calls them, with the window's default boxes.
using Shaper = std::function<MassGrid(BuildContext&, std::int32_t squares, std::int32_t pad,
                                      std::int16_t spanX, std::int16_t spanY)>;
const struct { const char* name; Shaper shape; } kShapers[] = {
    {"Stick Blob", [](BuildContext& c, std::int32_t n, std::int32_t pad, std::int16_t x, std::int16_t y) {
       return MakeStickBlob(c, n, pad, x, y, 6, 25, 50, 15);
     }},
    {"Wandering Blob", [](BuildContext& c, std::int32_t n, std::int32_t pad, std::int16_t x, std::int16_t y) {
       return MakeWanderingBlob(c, n, pad, x, y, 40, 15, 50, 15);
     }},
};

// A mass bigger than the inside of its frame is a block in columns and rows Pad .. Pad +
// SpanX + 1, filled column by column (each from the top) up to the room there is; without a
// border from column and row 0, which the crop leaves out. A mass of one square is Wandering
// Blob's canvas centre (4, 4), or a Stick Blob anchor inside the margins (2.25 .. 6.75).
// `first` and `end` bound the first and the last square shown.
TEST(BlobShapers, TooBigOrOddRequestsFinishWithLand) {
  using Box = std::array<int, 4>;  // x and y from, x and y to
  const struct { int squares, pad, span, land; Box first, end; } rows[] = {
      {30, 2, 4, 30, {2, 2, 2, 2}, {6, 7, 6, 7}},  // columns 2 .. 6 of rows 2 .. 7
      {33, 2, 4, 33, {2, 2, 2, 2}, {7, 4, 7, 4}},  // and three of column 7
      {5, 0, 1, 1, {0, 0, 0, 0}, {1, 1, 1, 1}},    // (0, 0) .. (1, 1): only (1, 1) is cropped in
      {1, 2, 3, 1, {3, 3, 6, 6}, {3, 3, 6, 6}},
      {2, 0, 0, 0, {0, 0, 0, 0}, {0, 1, 0, 1}},
      {300, 99, 0, 4, {99, 99, 99, 99}, {100, 100, 100, 100}}};  // x, y = Pad .. Pad + 1
  for (const auto& row : rows)
    for (const auto& shaper : kShapers) {
      ShapingFixture fixture;
      BuildContext context = fixture.Context();
      const auto span = static_cast<std::int16_t>(row.span);
      const MassGrid grid = shaper.shape(context, row.squares, row.pad, span, span);
      EXPECT_EQ(CountCode(grid, kLand) + CountCode(grid, kPad) + CountCode(grid, kOpen), static_cast<int>(grid.Cells().size())) << shaper.name << " " << row.squares;
      EXPECT_EQ(CountCode(grid, kLand), row.land) << shaper.name << " " << row.squares;
      ASSERT_FALSE(fixture.hooks.land.empty());
      const auto within = [](std::pair<int, int> square, const Box& box) {
        return square.first >= box[0] && square.second >= box[1] && square.first <= box[2] && square.second <= box[3];
      };
      EXPECT_TRUE(within(fixture.hooks.land.front(), row.first)) << shaper.name << " " << row.squares;
      EXPECT_TRUE(within(fixture.hooks.land.back(), row.end)) << shaper.name << " " << row.squares;
    }
}

// The frame of a blob closes in on the side the growth pushes against: the top side once its
// hits reach the period, the others at each whole multiple of it. Each move takes one more
// line (its open squares become "K"), restarts the count at the land on the line just
// outside the new one and draws a period Int(r 7) + 3, also where the new line meets the
// opposite frame. Only a line past the canvas's far edge is not taken (the fourth move).
TEST(BlobFrame, MovesInOnCrampedCanvasesAndDrawsEveryPeriod) {
  struct Move { int turned, restart; };
  const struct {
    const char* name;
    int spanX, spanY, side;
    std::vector<std::pair<int, int>> land;
    std::vector<Move> moves;
  } rows[] = {
      // XMax 4, YMax 3: inside x 1 .. 3, y 1 .. 2; land on the first inside row.
      {"5 x 4, top", 2, 1, kTopSide, {{1, 1}, {2, 1}}, {{1, 0}, {3, 2}, {0, 0}, {0, 0}}},
      {"5 x 4, bottom", 2, 1, kBottomSide, {{1, 1}, {2, 1}}, {{3, 0}, {1, 0}, {0, 2}, {0, 2}}},
      // XMax 3, YMax 6: inside x 1 .. 2, y 1 .. 5; land on the whole first inside column.
      {"4 x 7, left", 1, 4, kLeftSide, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}}, {{0, 0}, {5, 5}, {0, 0}, {0, 0}}},
      {"4 x 7, right", 1, 4, kRightSide, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}}, {{5, 0}, {0, 0}, {0, 5}, {0, 5}}},
      // XMax 6, YMax 3: the count restarts at 5, at or past any period of 3 .. 5.
      {"7 x 4, top", 4, 1, kTopSide, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}, {{0, 0}, {5, 5}, {0, 0}, {0, 0}}},
  };
  for (const auto& row : rows)
    for (const std::uint64_t seed : {1, 2, 3}) {
      ShapingFixture fixture(seed);
      BuildContext context = fixture.Context();
      BlobCanvas blob(8, 0, static_cast<std::int16_t>(row.spanX), static_cast<std::int16_t>(row.spanY));
      for (const auto& [x, y] : row.land) blob.AddLand(context, x, y);
      blob.SetPeriod(3);
      const auto frameSquares = [&blob] { return std::count(blob.Canvas().Cells().begin(), blob.Canvas().Cells().end(), kMark); };
      const int lines = (row.side == kTopSide || row.side == kBottomSide ? blob.YMax() : blob.XMax()) + 1;
      Random draws = fixture.random;  // the draws to come
      int hits = 0;
      for (std::size_t m = 0; m < row.moves.size(); ++m) {
        const auto at = ::testing::Message() << row.name << ", seed " << seed << ", move " << m + 1;
        const int period = blob.Period(), depth = blob.Depth(row.side), frame = frameSquares();
        int due = 1;
        while (row.side == kTopSide ? hits + due < period : (hits + due) % period != 0) ++due;
        for (int h = 1; h < due; ++h) blob.HitFrame(context, row.side);
        EXPECT_EQ(blob.Hits(row.side), hits + due - 1) << at;
        EXPECT_EQ(blob.Depth(row.side), depth) << at;
        blob.HitFrame(context, row.side);
        EXPECT_EQ(blob.Depth(row.side), std::min(depth + 1, lines)) << at;
        EXPECT_EQ(frameSquares() - frame, row.moves[m].turned) << at;
        EXPECT_EQ(blob.Hits(row.side), row.moves[m].restart) << at;
        EXPECT_EQ(blob.Period(), static_cast<int>(draws.Next() * 7) + 3) << at;
        hits = row.moves[m].restart;
      }
      EXPECT_EQ(fixture.random.Next(), draws.Next()) << row.name << ": one draw a move, no more";
      EXPECT_EQ(blob.Count(), static_cast<int>(row.land.size())) << row.name;
    }
}

// With a tightness of 50 every candidate is refused (the margins meet at x, y = 3), so each
// of the 3 anchor points of a first attempt is its 101st candidate after the frame's period,
// taken as drawn: c = Round(r 36) on the 7 x 7 canvas, (c mod 6, c \ 6), a third of them on
// column 0, row 0 or row 6. Growth beside them stays on the canvas.
TEST(StickBlob, TheLastAnchorCandidateIsTakenAsDrawn) {
  int firstAttempts = 0, onTheEdge = 0;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    ShapingFixture rig(seed);
    BuildContext context = rig.Context();
    EXPECT_GT(CountCode(MakeStickBlob(context, 20, 0, 4, 4, 3, 50, 50, 15), kLand), 0) << "seed " << seed;
    for (const auto& [x, y] : rig.hooks.land) ASSERT_TRUE(x >= 0 && x <= 6 && y >= 0 && y <= 6) << "seed " << seed;
    if (rig.hooks.previews > 1) continue;  // a retry's points follow the draws of the sticks before
    ++firstAttempts;
    Random draws(seed);
    draws.Discard(1);
    for (std::size_t k = 0; k < 3; ++k) {
      draws.Discard(100);
      const int c = static_cast<int>(std::nearbyint(draws.Next() * 36));
      EXPECT_EQ(rig.hooks.land[k], std::make_pair(c % 6, c / 6)) << "seed " << seed << ", point " << k;
      onTheEdge += c % 6 == 0 || c / 6 == 0 || c / 6 == 6;
    }
  }
  EXPECT_GT(firstAttempts, 5);
  EXPECT_GT(onTheEdge, 5);
}

}  // namespace
}  // namespace lorvex::shaping
