#include "shaping/mass_canvas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace lorvex::shaping {

// Each ring is a mark pass (x = 1 .. W - 1 outer, y = 1 .. H - 1 inner: an "X" with a side
// neighbour that is neither "X" nor "H" becomes "H") and a commit pass (y outer, x inner:
// every "H" becomes "S" and is shown). A square that can be marked in ring k has a side
// neighbour that turned non-"X" in ring k - 1 (or was so from the start, for ring 1):
// had that neighbour been there earlier, the square would have been marked earlier. So
// each ring only looks round the squares of the ring before, and the commit visits the
// marks sorted by row, then column, which is the order of the commit pass (in watch mode,
// where the preview shows that order).
void PadMass(BuildContext& context, MassCanvas& canvas, std::int32_t w, std::int32_t h,
             std::int16_t rings) {
  if (rings < 1 || w < 2 || h < 2 || canvas.Width() < w + 1 || canvas.Height() < h + 1) return;
  struct Square {
    std::int32_t x, y;
  };
  std::vector<Square> frontier, marked;
  for (std::int32_t y = 0; y <= h; ++y) {
    const char* row = &canvas(0, y);
    for (std::int32_t x = NextOtherThan(row, 0, w + 1, kOpen); x <= w;
         x = NextOtherThan(row, x + 1, w + 1, kOpen))
      frontier.push_back({x, y});
  }

  const std::ptrdiff_t stride = canvas.Width();
  const auto mark = [&marked](char& cell, std::int32_t x, std::int32_t y) {
    if (cell != kOpen) return;
    cell = kRingMark;
    marked.push_back({x, y});
  };
  for (std::int16_t ring = 0; ring < rings && !frontier.empty(); ++ring) {
    marked.clear();
    for (const Square s : frontier) {
      // A square two or more from the canvas edge has all four sides off the border rows
      // and columns, which are never marked.
      if (s.x >= 2 && s.x <= w - 2 && s.y >= 2 && s.y <= h - 2) {
        char* cell = &canvas(s.x, s.y);
        mark(cell[-1], s.x - 1, s.y);
        mark(cell[1], s.x + 1, s.y);
        mark(cell[stride], s.x, s.y + 1);
        mark(cell[-stride], s.x, s.y - 1);
        continue;
      }
      const Square sides[4] = {{s.x - 1, s.y}, {s.x + 1, s.y}, {s.x, s.y + 1}, {s.x, s.y - 1}};
      for (const Square side : sides)
        if (side.x >= 1 && side.x <= w - 1 && side.y >= 1 && side.y <= h - 1)
          mark(canvas(side.x, side.y), side.x, side.y);
    }
    // The order only shows on the mass preview, which draws nothing outside watch mode.
    if (context.world.WatchMode)
      std::sort(marked.begin(), marked.end(),
                [](Square a, Square b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    for (const Square s : marked) {
      canvas(s.x, s.y) = kPad;
      context.hooks.ShowPadSquare(s.x, s.y);
    }
    frontier.swap(marked);
  }
}

MassGrid CropMass(const MassCanvas& canvas, std::int32_t w, std::int32_t h) {
  w = std::min(w, canvas.Width() - 1);
  h = std::min(h, canvas.Height() - 1);
  std::int32_t minX = w, maxX = 0, minY = h, maxY = 0;
  bool any = false;
  // Row 0 and column 0 are not scanned.
  for (std::int32_t y = 1; y <= h; ++y) {
    const char* row = &canvas(0, y);
    const std::int32_t first = NextOtherThan(row, 1, w + 1, kOpen);
    if (first > w) continue;
    any = true;
    minX = std::min(minX, first);
    maxX = std::max(maxX, LastOtherThan(row, first, w + 1, kOpen));
    minY = std::min(minY, y);
    maxY = y;
  }
  if (!any) return MassGrid();
  MassGrid grid(maxX - minX + 1, maxY - minY + 1, kOpen);
  const auto width = static_cast<std::size_t>(grid.Width());
  for (std::int32_t j = 0; j <= maxY - minY; ++j)
    std::memcpy(&grid(0, j), &canvas(minX, minY + j), width);
  return grid;
}

}  // namespace lorvex::shaping
