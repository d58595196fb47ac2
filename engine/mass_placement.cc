#include "engine/mass_placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
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
// and is never written, so only the runs of other squares along each grid row are kept.
// Made once per mass and used for every try. Rows are walked as the map stores them, so a
// try reads and a placement writes runs of neighbouring squares.
//
// The writing goes row by row where the description of the mass goes column by column;
// the world comes out the same: a map square is written by at most the grid squares of one
// grid row (a grid wider than a wrapping map reaches one square from two columns i and
// i + MapWidth), and within a row the columns are written in the same increasing order.
class MassFootprint {
 public:
  explicit MassFootprint(const Grid<char>& grid)
      : grid_(grid), hw_((grid.Width() - 1) / 2), hh_((grid.Height() - 1) / 2) {
    const int width = grid.Width();
    // Most rows of a mass are one run.
    runs_.reserve(static_cast<std::size_t>(grid.Height()) + 8);
    for (int j = 0; j < grid.Height(); ++j) {
      const char* row = &grid(0, j);
      for (int i = NextOtherThan(row, 0, width, 'X'); i < width;
           i = NextOtherThan(row, i, width, 'X')) {
        const int end = Find(row, i, width, 'X');
        Run run{j, i, end - 1, kNoLand, -kNoLand};
        // Land lies inside the run's sea border: found from both ends.
        if (const int land = Find(row, i, end, terrain::kClear); land < end) {
          run.firstLand = land;
          run.lastLand = end - 1;
          while (row[run.lastLand] != terrain::kClear) --run.lastLand;
        }
        runs_.push_back(run);
        i = end;
      }
    }
  }

  // Whether every square of the mass may lie where it falls for centre (cx, cy). The
  // answer does not depend on the order the squares are looked at; the first one that may
  // not ends the try.
  bool FitsAt(const WorldState& world, std::int32_t cx, std::int32_t cy, bool seaBorders,
              bool allowOffEdge) const {
    const std::int32_t height = world.MapHeight;
    const Columns columns = ColumnsFor(world, cx);
    for (const Run& run : runs_) {
      const std::int32_t my = cy + run.j - hh_;
      if (my < 0 || my >= height) {
        if (OffMapFails(run, run.i0, run.i1, seaBorders, allowOffEdge)) return false;
        continue;
      }
      if (OffMapFails(run, run.i0, std::min(run.i1, columns.firstOn - 1), seaBorders, allowOffEdge) ||
          OffMapFails(run, std::max(run.i0, columns.lastOn + 1), run.i1, seaBorders, allowOffEdge))
        return false;
      // On the map every square of the mass must lie on water.
      const char* mapRow = &world.WorldMap(0, my);
      for (const Piece& piece : columns.pieces) {
        const std::int32_t first = std::max(run.i0, piece.i0), last = std::min(run.i1, piece.i1);
        if (first <= last && !AllWater(mapRow + first + piece.shift, last - first + 1)) return false;
      }
    }
    return true;
  }

  void WriteAt(BuildContext& context, std::int32_t cx, std::int32_t cy,
               std::int32_t massRow) const {
    WorldState& world = context.world;
    const std::int32_t height = world.MapHeight;
    const Columns columns = ColumnsFor(world, cx);
    std::int32_t& landSquares = world.MassTable[static_cast<std::size_t>(massRow)].squares;
    for (const Run& run : runs_) {
      // Squares off the map are not written.
      const std::int32_t my = cy + run.j - hh_;
      if (my < 0 || my >= height) continue;
      char* mapRow = &world.WorldMap(0, my);
      std::int32_t* massRowOfMap = &world.MassOfSquare(0, my);
      const char* letters = &grid_(0, run.j);
      for (const Piece& piece : columns.pieces) {
        const std::int32_t first = std::max(run.i0, piece.i0), last = std::min(run.i1, piece.i1);
        // Indexed by grid column.
        char* squares = mapRow + piece.shift;
        std::int32_t* masses = massRowOfMap + piece.shift;
        std::int32_t land = 0;
        for (std::int32_t i = first; i <= last; ++i) {
          // Border water is never overwritten, neither by land nor by sea border.
          if (IsBorderWater(squares[i])) continue;
          // A grid wider than a wrapping map lands on some squares twice: every "C" written
          // counts, and sea border written over the mass's own land leaves MassOfSquare as
          // it was, so the row may count more land than the map shows.
          const char letter = letters[i];
          squares[i] = letter;
          if (letter != terrain::kClear) continue;
          masses[i] = massRow;
          ++land;
        }
        landSquares += land;
        if (!world.WatchMode) continue;
        for (std::int32_t i = first; i <= last; ++i)
          if (letters[i] == terrain::kClear && squares[i] == terrain::kClear)
            context.hooks.PreviewLandSquare(i + piece.shift, my);
      }
    }
  }

 private:
  static constexpr int kNoLand = 1 << 30;

  struct Run {
    int j, i0, i1;            // grid row j, columns i0 .. i1
    int firstLand, lastLand;  // the run's first and last land columns (kNoLand, -kNoLand: none)
  };

  // Grid columns i0 .. i1 land on map columns i + shift.
  struct Piece {
    std::int32_t i0, i1, shift;
  };
  // For one centre column: the grid columns that land on the map, in increasing order, in
  // up to three pieces (on a wrapping map: those wrapped from the west, those that fall on
  // it as they are, those wrapped from the east); the rest, before firstOn and after
  // lastOn, lies off the map.
  struct Columns {
    std::array<Piece, 3> pieces;
    std::int32_t firstOn, lastOn;
  };

  // Grid column i falls on map column cx + i - hw, corrected once on a wrapping map, so a
  // grid wider than the map may still reach past it on both sides.
  Columns ColumnsFor(const WorldState& world, std::int32_t cx) const {
    const std::int32_t width = world.MapWidth;
    const std::int32_t base = cx - hw_;  // map column of grid column 0, uncorrected
    Columns columns{};
    if (world.MapWrap) {
      for (int k = 0; k < 3; ++k) {
        // Uncorrected columns (k - 1) * width .. k * width - 1, shifted by (1 - k) * width.
        const std::int32_t from = (k - 1) * width - base;
        columns.pieces[static_cast<std::size_t>(k)] = {from, from + width - 1, base + (1 - k) * width};
      }
      columns.firstOn = -width - base;
      columns.lastOn = 2 * width - 1 - base;
    } else {
      columns.pieces[0] = {-base, width - 1 - base, base};
      columns.pieces[1] = columns.pieces[2] = {1, 0, 0};  // empty
      columns.firstOn = -base;
      columns.lastOn = width - 1 - base;
    }
    return columns;
  }

  // Whether squares i0 .. i1 of the run, which lie off the map, stop the try: with sea
  // borders any square does, otherwise land does unless the mass may hang off the edge.
  // i0 .. i1 is always the whole run, a first part of it or a last part, so its first and
  // last land columns tell at once whether land lies there.
  static bool OffMapFails(const Run& run, std::int32_t i0, std::int32_t i1, bool seaBorders,
                          bool allowOffEdge) {
    if (i0 > i1) return false;
    if (seaBorders) return true;
    if (allowOffEdge) return false;
    return run.firstLand <= i1 && run.lastLand >= i0;
  }

  // The first index from `from` up to (not including) `end` whose letter is `letter`, or
  // `end` when there is none.
  static int Find(const char* letters, int from, int end, char letter) {
    const void* at = std::memchr(letters + from, letter, static_cast<std::size_t>(end - from));
    return at == nullptr ? end : static_cast<int>(static_cast<const char*>(at) - letters);
  }

  // Whether all `count` codes from `codes` on are water; open sea is looked at eight
  // squares at a time.
  static bool AllWater(const char* codes, std::int32_t count) {
    const std::int32_t end = NextNonSea(codes, 0, count);
    for (std::int32_t x = end; x < count; ++x)
      if (!IsWater(codes[x])) return false;
    return true;
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
  if (context.StopPoint()) return;  // after the mass was cut out of its canvas
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
