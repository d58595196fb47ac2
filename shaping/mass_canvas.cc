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
// Eight open squares read as one word.
constexpr std::uint64_t kEightOpen = 0x0101010101010101ULL * static_cast<unsigned char>(kOpen);

}  // namespace

// Each ring is a mark pass (x = 1 .. W - 1 outer, y = 1 .. H - 1 inner: an "X" with a side
// neighbour that is neither "X" nor "H" becomes "H") and a commit pass (y outer, x inner:
// every "H" becomes "S" and is shown). Which squares a ring marks depends only on the
// squares that were not "X" before it, so the marks are worked out on bits, 64 squares at
// a time: the squares taken (not "X"), spread one column either way and one row up and
// down, less those already taken and the border rows and columns. Both passes go down the
// rows once together: a word of a row's marks is committed as soon as the same word of the
// row below has been marked, the last that reads it as it was before the ring. Only the rows and words
// that the rings so far can have reached are looked at, and bits are kept only for the rows
// the rings can reach. Once the rings are laid, the same bits give the box that CropMass
// cuts out.
MassBox PadMass(BuildContext& context, MassCanvas& canvas, std::int32_t w, std::int32_t h,
                std::int16_t rings, const MassBox& land) {
  w = std::min(w, canvas.Width() - 1);
  h = std::min(h, canvas.Height() - 1);
  if (w < 1 || h < 1 || land.Empty()) return {};
  const std::int32_t first = std::max(land.left, 0), last = std::min(land.right, w);
  const std::int32_t landTop = std::max(land.top, 0), landBottom = std::min(land.bottom, h);
  if (last < first || landBottom < landTop) return {};
  // Each row of bits has a word of 0 on either side, so that a spread never reads past it,
  // and there are rows for the land's rows and the rings beyond them (with the row each
  // ring's spread reads past its last).
  const std::int32_t words = w / kWordBits + 1;  // columns 0 .. w
  const std::size_t stride = static_cast<std::size_t>(words) + 2;
  const std::int32_t reach = std::max<std::int32_t>(rings, 0) + 1;
  const std::int32_t rowLo = std::max(landTop - reach, 0), rowHi = std::min(landBottom + reach, h);
  std::vector<Word> taken(static_cast<std::size_t>(rowHi - rowLo + 1) * stride, 0);
  const auto row = [&taken, stride, rowLo](std::int32_t y) {
    return &taken[static_cast<std::size_t>(y - rowLo) * stride + 1];
  };
  // The rows and words that hold taken squares, widened by a line each ring.
  std::int32_t top = h + 1, bottom = -1, left = words, right = -1;
  // Codes are read from a whole word of eight on, so that each falls into one word of bits;
  // the bits of the few squares before the box are dropped again.
  const std::int32_t from = first & ~7;
  const Word fromFirst = ~Word{0} << (first % kWordBits);
  for (std::int32_t y = landTop; y <= landBottom; ++y) {
    Word* bits = row(y);
    // Around the land the canvas is open: a word of eight "X" costs one comparison.
    OrCodeBits(&canvas(from, y), last - from + 1, bits, from, [](std::uint64_t eight) -> std::uint64_t {
      return eight == kEightOpen ? 0 : ~CodeBits8(eight, kOpen) & 0xff;
    });
    bits[first / kWordBits] &= fromFirst;
    for (std::int32_t k = first / kWordBits; k <= last / kWordBits; ++k)
      if (bits[k] != 0) {
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, k);
        right = std::max(right, k);
      }
  }
  if (bottom < 0) return {};
  // The mark pass keeps off row H, which may hold land all the same.
  const std::int32_t lowestTaken = bottom;

  if (w >= 2 && h >= 2 && rings > 0) {
    // The marks of the row being looked at and of the row above it, waiting to be committed.
    std::vector<Word> marks(2 * static_cast<std::size_t>(words), 0);
    Word* fresh = marks.data();
    Word* waiting = fresh + words;
    // Columns 1 .. W - 1 may be marked.
    std::vector<Word> inside(static_cast<std::size_t>(words), ~Word{0});
    inside.front() &= ~Word{1};
    inside.back() &= (Word{1} << (w % kWordBits)) - 1;
    // Read once: the stores into the canvas below could otherwise be taken to change it.
    const bool show = context.world.WatchMode;
    // The marks `marked` of word k of row y into its bits and its codes, left to right.
    const auto commit = [&](std::int32_t y, Word* bits, char* codes, std::int32_t k, Word marked) {
      bits[k] |= marked;
      // A ring crosses a word of a row in a square or two: bit by bit is quickest.
      for (Word m = marked; m != 0; m &= m - 1) {
        const std::int32_t x = k * kWordBits + std::countr_zero(m);
        codes[x] = kPad;
        // The preview draws nothing outside watch mode; the test spares a call a square.
        if (show) context.hooks.ShowPadSquare(x, y);
      }
    };
    for (std::int16_t ring = 0; ring < rings; ++ring) {
      // The rings never yield: a stop asked from another thread ends them here (the driver
      // drops the mass).
      if (context.StopPoint()) break;
      top = std::max(top - 1, 1);
      bottom = std::min(bottom + 1, h - 1);
      left = std::max(left - 1, 0);
      right = std::min(right + 1, words - 1);
      // Nothing waits above the first row.
      std::fill(waiting + left, waiting + right + 1, Word{0});
      Word marked = 0;
      // Rows y - 1, y and y + 1 of bits and row y - 1 of codes, stepped down together.
      Word* above = row(top - 1);
      char* aboveCodes = &canvas(0, top - 1);
      for (std::int32_t y = top; y <= bottom; ++y, above += stride, aboveCodes += canvas.Width()) {
        const Word* here = above + stride;
        const Word* below = here + stride;
        for (std::int32_t k = left; k <= right; ++k) {
          const Word spread = (here[k] << 1) | (here[k - 1] >> (kWordBits - 1)) |
                              (here[k] >> 1) | (here[k + 1] << (kWordBits - 1)) | above[k] |
                              below[k];
          fresh[k] = spread & ~here[k] & inside[static_cast<std::size_t>(k)];
          marked |= fresh[k];
          // Word k of row y - 1 has been read for the last time this ring: the words of
          // this row further right read only their own word of the row above.
          if (waiting[k] != 0) commit(y - 1, above, aboveCodes, k, waiting[k]);
        }
        std::swap(fresh, waiting);
      }
      for (std::int32_t k = left; k <= right; ++k)
        if (waiting[k] != 0) commit(bottom, above, aboveCodes, k, waiting[k]);
      if (marked == 0) break;
    }
  }

  // The box leaves out row 0 and column 0.
  MassBox box{w + 1, h + 1, -1, -1};
  for (std::int32_t y = std::max(top, 1); y <= std::max(bottom, lowestTaken); ++y) {
    const Word* bits = row(y);
    const auto keep = [&](std::int32_t k) { return bits[k] & (k == 0 ? ~Word{1} : ~Word{0}); };
    std::int32_t k = left;
    while (k <= right && keep(k) == 0) ++k;
    if (k > right) continue;
    box.left = std::min(box.left, k * kWordBits + std::countr_zero(keep(k)));
    k = right;
    while (keep(k) == 0) --k;
    box.right = std::max(box.right, k * kWordBits + kWordBits - 1 - std::countl_zero(keep(k)));
    box.top = std::min(box.top, y);
    box.bottom = y;
  }
  return box.Empty() ? MassBox{} : box;
}

MassGrid CropMass(const MassCanvas& canvas, const MassBox& box) {
  if (box.Empty()) return MassGrid();
  MassGrid grid(box.right - box.left + 1, box.bottom - box.top + 1, kOpen);
  const auto width = static_cast<std::size_t>(grid.Width());
  for (std::int32_t j = 0; j < grid.Height(); ++j)
    std::memcpy(&grid(0, j), &canvas(box.left, box.top + j), width);
  return grid;
}

void ReplaceCodes(char* codes, std::int32_t count, char from, char to) {
  // 0x01 in each byte equal to `from`, times from ^ to: the bytes to flip, no carry.
  const std::uint64_t flip = static_cast<unsigned char>(from ^ to);
  std::int32_t x = 0;
  for (; x + 8 <= count; x += 8) {
    std::uint64_t eight = EightCodes(codes + x);
    const std::uint64_t match = codebits::EqualBytes(eight, from);
    if (match == 0) continue;
    eight ^= (match >> 7) * flip;
    std::memcpy(codes + x, &eight, sizeof eight);
  }
  for (; x < count; ++x)
    if (codes[x] == from) codes[x] = to;
}

}  // namespace lorvex::shaping
