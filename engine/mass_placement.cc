#include "engine/mass_placement.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/numbers.h"

namespace lorvex {

namespace {

constexpr std::int32_t kMostPlacementTries = 1000;

bool IsBorderWater(char code) {
  return code == terrain::kTopBorder || code == terrain::kBottomBorder ||
         code == terrain::kAllBorder;
}

// The squares of a mass grid that a placement looks at: an "X" square never stops a try
// and is never written, so only the runs of other squares down each grid column are kept,
// columns in grid order (i outer, j inner, the order of the writing). Made once per mass
// and used for every try.
class MassFootprint {
 public:
  explicit MassFootprint(const Grid<char>& grid)
      : grid_(grid), hw_((grid.Width() - 1) / 2), hh_((grid.Height() - 1) / 2) {
    const int height = grid.Height();
    const std::ptrdiff_t stride = grid.Width();
    for (int i = 0; i < grid.Width(); ++i) {
      const char* column = grid.Cells().data() + i;
      for (int j = 0; j < height;) {
        if (column[j * stride] == 'X') {
          ++j;
          continue;
        }
        Run run{i, j, j, kNoLand, -kNoLand};
        for (; j < height && column[j * stride] != 'X'; ++j) {
          if (column[j * stride] != terrain::kClear) continue;
          run.firstLand = std::min(run.firstLand, j);
          run.lastLand = j;
        }
        run.j1 = j - 1;
        runs_.push_back(run);
      }
    }
  }

  // Whether every square of the mass may lie where it falls for centre (cx, cy). The
  // answer does not depend on the order the squares are looked at; the first one that may
  // not ends the try.
  bool FitsAt(const WorldState& world, std::int32_t cx, std::int32_t cy, bool seaBorders,
              bool allowOffEdge) const {
    const std::int32_t width = world.MapWidth, height = world.MapHeight;
    for (const Run& run : runs_) {
      const std::int32_t mx = Column(world, cx, run.i);
      if (mx < 0 || mx >= width) {
        if (OffMapFails(run, run.j0, run.j1, seaBorders, allowOffEdge)) return false;
        continue;
      }
      // Grid rows above the map end at aboveLast, rows below it start at belowFirst.
      const std::int32_t aboveLast = std::min(run.j1, hh_ - cy - 1);
      const std::int32_t belowFirst = std::max(run.j0, height - cy + hh_);
      if (OffMapFails(run, run.j0, aboveLast, seaBorders, allowOffEdge) ||
          OffMapFails(run, belowFirst, run.j1, seaBorders, allowOffEdge))
        return false;
      // On the map every square of the mass must lie on water.
      const std::int32_t first = std::max(run.j0, aboveLast + 1);
      const std::int32_t last = std::min(run.j1, belowFirst - 1);
      if (first > last) continue;
      const char* square = &world.WorldMap(mx, cy + first - hh_);
      for (std::int32_t j = first; j <= last; ++j, square += width)
        if (!IsWater(*square)) return false;
    }
    return true;
  }

  void WriteAt(BuildContext& context, std::int32_t cx, std::int32_t cy,
               std::int32_t massRow) const {
    WorldState& world = context.world;
    const std::int32_t width = world.MapWidth, height = world.MapHeight;
    std::int32_t& landSquares = world.MassTable[static_cast<std::size_t>(massRow)].squares;
    for (const Run& run : runs_) {
      const std::int32_t mx = Column(world, cx, run.i);
      if (mx < 0 || mx >= width) continue;
      // Squares off the map are not written.
      const std::int32_t first = std::max(run.j0, hh_ - cy);
      const std::int32_t last = std::min(run.j1, height - 1 - cy + hh_);
      if (first > last) continue;
      // Down the map column and the grid column together.
      char* square = &world.WorldMap(mx, cy + first - hh_);
      std::int32_t* mass = &world.MassOfSquare(mx, cy + first - hh_);
      const char* letters = &grid_(run.i, first);
      const std::ptrdiff_t gridStride = grid_.Width();
      for (std::int32_t j = first; j <= last;
           ++j, square += width, mass += width, letters += gridStride) {
        // Border water is never overwritten, neither by land nor by sea border.
        if (IsBorderWater(*square)) continue;
        // A grid wider than a wrapping map lands on some squares twice: every "C" written
        // counts, and sea border written over the mass's own land leaves MassOfSquare as
        // it was, so the row may count more land than the map shows.
        const char letter = *letters;
        *square = letter;
        if (letter != terrain::kClear) continue;
        *mass = massRow;
        ++landSquares;
        if (world.WatchMode) context.hooks.PreviewLandSquare(mx, cy + j - hh_);
      }
    }
  }

 private:
  static constexpr int kNoLand = 1 << 30;

  struct Run {
    int i, j0, j1;            // grid column i, rows j0 .. j1
    int firstLand, lastLand;  // the run's first and last land rows (kNoLand, -kNoLand: none)
  };

  // Whether the run's squares in grid rows j0 .. j1, which lie off the map, stop the try:
  // with sea borders any square does, otherwise land does unless the mass may hang off the
  // edge. Rows j0 .. j1 are always the whole run, a first part of it or a last part, so its
  // first and last land rows tell at once whether land lies there: a large mass tried over
  // the edge of a small map is not read square by square on every try.
  static bool OffMapFails(const Run& run, std::int32_t j0, std::int32_t j1, bool seaBorders,
                          bool allowOffEdge) {
    if (j0 > j1) return false;
    if (seaBorders) return true;
    if (allowOffEdge) return false;
    return run.firstLand <= j1 && run.lastLand >= j0;
  }

  // The map column grid column i lands on for centre column cx: one wrap correction on a
  // wrapping map, so a grid wider than the map may still reach past it.
  std::int32_t Column(const WorldState& world, std::int32_t cx, int i) const {
    const std::int32_t mx = cx + i - hw_;
    return world.MapWrap ? world.WrapX(mx) : mx;
  }

  const Grid<char>& grid_;
  int hw_, hh_;
  std::vector<Run> runs_;
};

}  // namespace

void WriteMassAt(BuildContext& context, const Grid<char>& grid, std::int32_t cx, std::int32_t cy,
                 std::int32_t massRow) {
  MassFootprint(grid).WriteAt(context, cx, cy, massRow);
}

bool MassFitsAt(const WorldState& world, const Grid<char>& grid, std::int32_t cx,
                std::int32_t cy, bool seaBorders, bool allowOffEdge) {
  return MassFootprint(grid).FitsAt(world, cx, cy, seaBorders, allowOffEdge);
}

std::int16_t EvenColumnWidth(const WorldState& world, std::int16_t n) {
  if (n == 1) return ToInt16(world.MapWidth);
  const double cells = n % 2 != 0 ? n + 1.0 : static_cast<double>(n);
  // n of 0 or below has no cell layout; answer the whole width rather than divide by 0.
  if (cells <= 0) return ToInt16(world.MapWidth);
  return ToInt16(2.0 * world.MapWidth / cells);
}

std::int16_t EvenRowHeight(const WorldState& world, std::int16_t n) {
  if (n == 1) return ToInt16(world.MapHeight);
  return ToInt16(world.MapHeight / 2.0);
}

bool FitsEvenSpacing(const WorldState& world, const Grid<char>& grid, std::int16_t n) {
  int largestX = 0, smallestX = grid.Width() - 1;
  int largestY = 0, smallestY = grid.Height() - 1;
  for (int i = 0; i < grid.Width(); ++i)
    for (int j = 0; j < grid.Height(); ++j)
      if (grid(i, j) == terrain::kClear) {
        if (i > largestX) largestX = i;
        if (i < smallestX) smallestX = i;
        if (j > largestY) largestY = j;
        if (j < smallestY) smallestY = j;
      }
  return largestX - smallestX <= EvenColumnWidth(world, n) &&
         largestY - smallestY <= EvenRowHeight(world, n);
}

void PlaceMass(BuildContext& context, const Grid<char>& grid, bool seaBorders,
               bool allowOffEdge, std::int32_t massRow) {
  WorldState& world = context.world;
  if (world.SquareCount <= 0 || grid.Width() == 0) return;
  std::int32_t tries = ToInt32(world.SquareCount / 2.0);
  if (tries > kMostPlacementTries) tries = kMostPlacementTries;
  const MassFootprint footprint(grid);
  for (std::int32_t made = 0; made <= tries; ++made) {
    if (context.YieldAndCheckStop()) return;
    context.hooks.ShowStatus("", "");
    const auto k = static_cast<std::int64_t>(
        std::floor(context.random.Next() * world.MapWidth * world.MapHeight));
    const auto cx = static_cast<std::int32_t>(k % world.MapWidth);
    const auto cy = static_cast<std::int32_t>(k / world.MapWidth);
    if (footprint.FitsAt(world, cx, cy, seaBorders, allowOffEdge)) {
      footprint.WriteAt(context, cx, cy, massRow);
      return;
    }
  }
}

MapSquare EvenCentre(const WorldState& world, std::int16_t m, std::int16_t n) {
  if (n == 1) return {world.MapWidth / 2, world.MapHeight / 2};
  const std::int32_t cy = ToInt32(world.MapHeight * (m % 2 != 0 ? 0.25 : 0.75));
  const double cells = n % 2 != 0 ? n + 1.0 : static_cast<double>(n);
  const std::int32_t w = cells > 0 ? ToInt32(world.MapWidth / cells) : world.MapWidth;
  return {ToInt32(m * w - w / 2.0), cy};
}

void PlaceMassEvenly(BuildContext& context, const Grid<char>& grid, std::int16_t m,
                     std::int16_t n, std::int32_t massRow) {
  if (grid.Width() == 0) return;
  const MapSquare centre = EvenCentre(context.world, m, n);
  WriteMassAt(context, grid, centre.x, centre.y, massRow);
}

}  // namespace lorvex
