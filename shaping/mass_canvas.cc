#include "shaping/mass_canvas.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "world/code_bits.h"

namespace lorvex::shaping {

namespace {

// One bit a canvas square, row by row, 64 columns to a word: bit x % 64 of word x / 64.
using Word = std::uint64_t;
constexpr std::int32_t kWordBits = 64;

}  // namespace

// Each ring is a mark pass (x = 1 .. W - 1 outer, y = 1 .. H - 1 inner: an "X" with a side
// neighbour that is neither "X" nor "H" becomes "H") and a commit pass (y outer, x inner:
// every "H" becomes "S" and is shown). Which squares a ring marks depends only on the
// squares that were not "X" before it, so the mark pass works on bits, 64 squares at a
// time: the squares taken (not "X"), spread one column either way and one row up and down,
// less those already taken and the border rows and columns. Only the rows and words that
// the rings so far can have reached are looked at.
void PadMass(BuildContext& context, MassCanvas& canvas, std::int32_t w, std::int32_t h,
             std::int16_t rings) {
  if (rings < 1 || w < 2 || h < 2 || canvas.Width() < w + 1 || canvas.Height() < h + 1) return;
  // Each row of bits has a word of 0 on either side, so that a spread never reads past it.
  const std::int32_t words = w / kWordBits + 1;  // columns 0 .. w
  const std::size_t stride = static_cast<std::size_t>(words) + 2;
  const auto row = [stride](std::vector<Word>& bits, std::int32_t y) {
    return &bits[static_cast<std::size_t>(y) * stride + 1];
  };
  std::vector<Word> taken(static_cast<std::size_t>(h + 1) * stride, 0);
  std::vector<Word> marks(taken.size(), 0);
  std::int32_t top = h + 1, bottom = -1, left = words, right = -1;
  for (std::int32_t y = 0; y <= h; ++y) {
    Word* bits = row(taken, y);
    OrCodeBits(&canvas(0, y), w + 1, bits, 0,
               [](std::uint64_t eight) { return ~CodeBits8(eight, kOpen) & 0xff; });
    for (std::int32_t k = 0; k < words; ++k)
      if (bits[k] != 0) {
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, k);
        right = std::max(right, k);
      }
  }
  if (bottom < 0) return;
  // Columns 1 .. W - 1 may be marked.
  std::vector<Word> inside(static_cast<std::size_t>(words), ~Word{0});
  inside.front() &= ~Word{1};
  inside.back() &= (Word{1} << (w % kWordBits)) - 1;

  for (std::int16_t ring = 0; ring < rings; ++ring) {
    top = std::max(top - 1, 1);
    bottom = std::min(bottom + 1, h - 1);
    left = std::max(left - 1, 0);
    right = std::min(right + 1, words - 1);
    bool marked = false;
    for (std::int32_t y = top; y <= bottom; ++y) {
      const Word* above = row(taken, y - 1);
      const Word* here = row(taken, y);
      const Word* below = row(taken, y + 1);
      Word* fresh = row(marks, y);
      for (std::int32_t k = left; k <= right; ++k) {
        const Word spread = (here[k] << 1) | (here[k - 1] >> (kWordBits - 1)) | (here[k] >> 1) |
                            (here[k + 1] << (kWordBits - 1)) | above[k] | below[k];
        fresh[k] = spread & ~here[k] & inside[static_cast<std::size_t>(k)];
        marked = marked || fresh[k] != 0;
      }
    }
    if (!marked) return;
    for (std::int32_t y = top; y <= bottom; ++y) {
      Word* here = row(taken, y);
      Word* fresh = row(marks, y);
      char* codes = &canvas(0, y);
      for (std::int32_t k = left; k <= right; ++k) {
        here[k] |= fresh[k];
        for (Word m = fresh[k]; m != 0; m &= m - 1) {
          const std::int32_t x = k * kWordBits + std::countr_zero(m);
          codes[x] = kPad;
          // The preview draws nothing outside watch mode; the test spares a call a square.
          if (context.world.WatchMode) context.hooks.ShowPadSquare(x, y);
        }
        fresh[k] = 0;
      }
    }
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
