// A flat, row-major grid with an (x, y) accessor: x is the column (west to east), y the row
// (top to bottom), both from 0.
#pragma once

#include <cstddef>
#include <vector>

namespace lorvex {

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

}  // namespace lorvex
