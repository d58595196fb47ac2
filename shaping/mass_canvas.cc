#include "shaping/mass_canvas.h"

#include <algorithm>
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
  for (std::int32_t y = 0; y <= h; ++y)
    for (std::int32_t x = 0; x <= w; ++x)
      if (canvas(x, y) != kOpen) frontier.push_back({x, y});

  for (std::int16_t ring = 0; ring < rings && !frontier.empty(); ++ring) {
    marked.clear();
    for (const Square s : frontier) {
      const Square sides[4] = {{s.x - 1, s.y}, {s.x + 1, s.y}, {s.x, s.y + 1}, {s.x, s.y - 1}};
      for (const Square side : sides) {
        // The border rows and columns are never marked.
        if (side.x < 1 || side.x > w - 1 || side.y < 1 || side.y > h - 1) continue;
        char& cell = canvas(side.x, side.y);
        if (cell != kOpen) continue;
        cell = kRingMark;
        marked.push_back(side);
      }
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
  for (std::int32_t y = 1; y <= h; ++y)
    for (std::int32_t x = 1; x <= w; ++x)
      if (canvas(x, y) != kOpen) {
        any = true;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  if (!any) return MassGrid();
  MassGrid grid(maxX - minX + 1, maxY - minY + 1, kOpen);
  for (std::int32_t j = 0; j <= maxY - minY; ++j)
    for (std::int32_t i = 0; i <= maxX - minX; ++i) grid(i, j) = canvas(minX + i, minY + j);
  return grid;
}

}  // namespace lorvex::shaping
