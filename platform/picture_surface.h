// A picture box of 301 x 269 pixels that draws filled boxes given in twips (15 twips to
// the pixel) and can be read back pixel by pixel. It starts black, and holds no pixels until
// the first box is drawn: a window that builds without watching never pays for its pictures.
#pragma once

#include <vector>

#include "platform/control.h"

namespace lorvex::platform {

inline constexpr int kTwipsPerPixel = 15;

class PictureSurface {
 public:
  static constexpr int kWidth = 301;
  static constexpr int kHeight = 269;

  // Fills the box with one corner at (x, y) twips and the other dx, dy twips from it.
  // Both corners are included, whichever way round they lie; what falls outside the
  // surface is clipped.
  void FillBox(int x, int y, int dx, int dy, Rgb colour);

  Rgb Pixel(int px, int py) const;
  // Raised by every FillBox, so a binding knows when to repaint.
  unsigned long Revision() const { return revision_; }

 private:
  std::vector<Rgb> pixels_;  // empty until the first FillBox, all black then
  unsigned long revision_ = 0;
};

}  // namespace lorvex::platform
