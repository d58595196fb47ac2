#include "export/shape_gallery.h"

#include <algorithm>

#include "export/caption_font.h"
#include "export/png_writer.h"
#include "platform/control.h"

namespace lorvex::exporting {

namespace {

constexpr int kColumns = 6;
constexpr int kCell = 160;      // pixels of the figure's square
constexpr int kMargin = 10;     // around every cell
constexpr int kCaptionGap = 6;  // between the figure and its caption
constexpr int kCaptionPixels = 16;       // caption font height
constexpr int kSmallCaptionPixels = 13;  // for a caption too long for its slot
constexpr platform::Rgb kBackground{245, 245, 240};
constexpr platform::Rgb kSea{28, 78, 160};
constexpr platform::Rgb kLand{118, 178, 82};
constexpr platform::Rgb kInk{20, 20, 20};

constexpr int kSlotWidth = kCell + 2 * kMargin;
constexpr int kSlotHeight = kCell + kCaptionGap + kCaptionPixels + 2 * kMargin;

// A simple RGB canvas the gallery is painted on before it is written.
struct Canvas {
  int width, height;
  std::vector<platform::Rgb> pixels;
  void Set(int x, int y, platform::Rgb c) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y) * width + x] = c;
  }
};

void DrawFigure(Canvas& canvas, int left, int top, const Grid<char>& figure) {
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) canvas.Set(left + x, top + y, kSea);
  const int side = std::max({figure.Width(), figure.Height(), 1});
  const int square = std::max(1, kCell / side);
  const int offsetX = (kCell - square * figure.Width()) / 2;
  const int offsetY = (kCell - square * figure.Height()) / 2;
  for (int j = 0; j < figure.Height(); ++j)
    for (int i = 0; i < figure.Width(); ++i)
      if (figure(i, j) == 'C')
        for (int sy = 0; sy < square; ++sy)
          for (int sx = 0; sx < square; ++sx)
            canvas.Set(left + offsetX + i * square + sx, top + offsetY + j * square + sy, kLand);
}

}  // namespace

bool WriteShapeGallery(const std::vector<GalleryItem>& items, std::FILE* out, std::string& error) {
  if (items.empty()) {
    error = "there are no shapes to show";
    return false;
  }
  const CaptionFont font(kCaptionPixels), smallFont(kSmallCaptionPixels);
  if (!font.Ok() || !smallFont.Ok()) {
    error = font.Ok() ? smallFont.Error() : font.Error();
    return false;
  }
  const int rows = (static_cast<int>(items.size()) + kColumns - 1) / kColumns;
  Canvas canvas{kColumns * kSlotWidth, rows * kSlotHeight, {}};
  canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, kBackground);
  for (std::size_t k = 0; k < items.size(); ++k) {
    const int left = static_cast<int>(k % kColumns) * kSlotWidth + kMargin;
    const int top = static_cast<int>(k / kColumns) * kSlotHeight + kMargin;
    DrawFigure(canvas, left, top, items[k].figure);
    // A caption too long for its slot is drawn smaller.
    const CaptionFont& captionFont =
        font.Width(items[k].caption) <= kSlotWidth - 2 ? font : smallFont;
    const int textWidth = captionFont.Width(items[k].caption);
    captionFont.Draw({canvas.width, canvas.height, canvas.pixels.data()},
                     left + (kCell - textWidth) / 2, top + kCell + kCaptionGap, items[k].caption,
                     kInk);
  }
  return WriteRgbPng(static_cast<std::uint32_t>(canvas.width), static_cast<std::uint32_t>(canvas.height),
                     [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
                       for (int x = 0; x < canvas.width; ++x) {
                         const platform::Rgb c = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
                         row[3 * x] = c.r;
                         row[3 * x + 1] = c.g;
                         row[3 * x + 2] = c.b;
                       }
                     },
                     out, error);
}

}  // namespace lorvex::exporting
