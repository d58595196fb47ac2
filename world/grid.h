// A flat, row-major grid with an (x, y) accessor: x is the column (west to east), y the row
// (top to bottom), both from 0.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lorvex {

// `cells` made `count` copies of `fill`, a block at a time, asking goOn() after each block
// but the last whether to go on; false leaves them cut short and answers false. For arrays
// so large that writing them takes a while, in a build that may be stopped meanwhile.
template <typename T, typename GoOn>
bool AssignInBlocks(std::vector<T>& cells, std::size_t count, const T& fill, GoOn goOn) {
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  cells.clear();
  cells.reserve(count);
  while (cells.size() < count) {
    cells.resize(std::min(count, cells.size() + kBlock), fill);
    if (cells.size() < count && !goOn()) return false;
  }
  return true;
}

template <typename T>
class Grid {
 public:
  Grid() = default;
  Grid(int width, int height, T fill) { Reset(width, height, fill); }

  void Reset(int width, int height, T fill) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    cells_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
  }

  // Reset a block of cells at a time (see AssignInBlocks): false, when goOn() answers so,
  // leaves the grid empty (0 x 0).
  template <typename GoOn>
  bool ResetInBlocks(int width, int height, T fill, GoOn goOn) {
    Reset(0, 0, fill);
    width = width > 0 ? width : 0;
    height = height > 0 ? height : 0;
    if (!AssignInBlocks(cells_, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill, goOn)) {
      cells_ = std::vector<T>();
      return false;
    }
    width_ = width;
    height_ = height;
    return true;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  T& operator()(int x, int y) { return cells_[Offset(x, y)]; }
  const T& operator()(int x, int y) const { return cells_[Offset(x, y)]; }

  std::vector<T>& Cells() { return cells_; }
  const std::vector<T>& Cells() const { return cells_; }

 private:
  std::size_t Offset(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<T> cells_;
};

// The first index from `from` up to (not including) `end` whose letter is not `letter`, or
// `end` when there is none. Maps and canvases are mostly one letter (open sea, open canvas),
// so scans for anything else step over runs of it eight letters at a time.
inline std::int32_t NextOtherThan(const char* letters, std::int32_t from, std::int32_t end,
                                  char letter) {
  const std::uint64_t eight = 0x0101010101010101ULL * static_cast<unsigned char>(letter);
  while (from + 8 <= end) {
    std::uint64_t word;
    std::memcpy(&word, letters + from, sizeof word);
    if (word != eight) break;
    from += 8;
  }
  while (from < end && letters[from] == letter) ++from;
  return from;
}

// The last index from `begin` up to (not including) `end` whose letter is not `letter`, or
// begin - 1 when there is none.
inline std::int32_t LastOtherThan(const char* letters, std::int32_t begin, std::int32_t end,
                                  char letter) {
  const std::uint64_t eight = 0x0101010101010101ULL * static_cast<unsigned char>(letter);
  while (end - 8 >= begin) {
    std::uint64_t word;
    std::memcpy(&word, letters + end - 8, sizeof word);
    if (word != eight) break;
    end -= 8;
  }
  while (end > begin && letters[end - 1] == letter) --end;
  return end - 1;
}

}  // namespace lorvex
