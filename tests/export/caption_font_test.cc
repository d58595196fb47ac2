// Captions drawn with the system font: real widths, ink where the text is and nowhere else.
#include "export/caption_font.h"

#include <gtest/gtest.h>

#include <vector>

namespace lorvex::exporting {
namespace {

TEST(CaptionFont, MeasuresAndDrawsInsideItsBox) {
  const CaptionFont font(16);
  ASSERT_TRUE(font.Ok()) << font.Error();
  EXPECT_EQ(font.Width(""), 0);
  EXPECT_GT(font.Width("Rectangle + Triangle"), font.Width("Rectangle"));
  EXPECT_GT(font.Width("\"L\"-Shape"), font.Width("L-Shape"));  // the quotes take room

  const platform::Rgb paper{255, 255, 255}, ink{0, 0, 0};
  std::vector<platform::Rgb> pixels(100 * 40, paper);
  const RgbPicture picture{100, 40, pixels.data()};
  font.Draw(picture, 10, 10, "Ag", ink);
  int inked = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) {
      if (pixels[static_cast<std::size_t>(y) * 100 + x] == paper) continue;
      ++inked;
      // "Ag" sits in its advance, from its top to its descender.
      if (x < 10 || x >= 10 + font.Width("Ag") + 1 || y < 10 || y >= 10 + 20) ++outside;
    }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(outside, 0);

  // Text past the picture's edges is clipped, not written out of bounds.
  font.Draw(picture, 95, 35, "Wide text", ink);
  font.Draw(picture, -30, -12, "Wide text", ink);
}

}  // namespace
}  // namespace lorvex::exporting
