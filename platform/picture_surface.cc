#include "platform/picture_surface.h"

#include <algorithm>

namespace lorvex::platform {

namespace {

// Twips to the pixel that contains them (floor, also for negative positions).
long long ToPixel(long long twips) {
  return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

}  // namespace

void PictureSurface::FillBox(int x, int y, int dx, int dy, Rgb colour) {
  ++revision_;
  long long x1 = ToPixel(x), x2 = ToPixel(static_cast<long long>(x) + dx);
  long long y1 = ToPixel(y), y2 = ToPixel(static_cast<long long>(y) + dy);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  x1 = std::max<long long>(x1, 0);
  y1 = std::max<long long>(y1, 0);
  x2 = std::min<long long>(x2, kWidth - 1);
  y2 = std::min<long long>(y2, kHeight - 1);
  if (x1 > x2 || y1 > y2) return;
  if (pixels_.empty()) pixels_.resize(static_cast<std::size_t>(kWidth * kHeight));
  // The first row is filled and the others copied from it, block copies of plain bytes
  // (each mass preview starts by filling the whole picture).
  const auto first = pixels_.begin() + static_cast<std::ptrdiff_t>(y1 * kWidth + x1);
  const auto length = static_cast<std::ptrdiff_t>(x2 - x1 + 1);
  const auto rows = static_cast<std::ptrdiff_t>(y2 - y1 + 1);
  std::fill_n(first, length, colour);
  for (std::ptrdiff_t r = 1; r < rows; ++r) std::copy_n(first, length, first + r * kWidth);
}

Rgb PictureSurface::Pixel(int px, int py) const {
  if (px < 0 || py < 0 || px >= kWidth || py >= kHeight || pixels_.empty()) return {};
  return pixels_[static_cast<std::size_t>(py * kWidth + px)];
}

}  // namespace lorvex::platform
