#include "shaping/mass_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "shaping_fixture.h"

namespace lorvex::shaping {
namespace {

using testing::ShapingFixture;

std::vector<std::string> Rows(const MassGrid& grid) {
  std::vector<std::string> rows(static_cast<std::size_t>(grid.Height()));
  for (int y = 0; y < grid.Height(); ++y)
    for (int x = 0; x < grid.Width(); ++x) rows[static_cast<std::size_t>(y)] += grid(x, y);
  return rows;
}

// Rings are diamonds (side steps) round the land, never on the canvas's border rows and
// columns, shown once each, ring by ring and row by row; the crop is the box of columns and
// rows from 1 holding anything but "X".
TEST(PadMass, RingsAreDiamondsRoundTheLandAndTheCropTheirBox) {
  const struct {
    const char* what;
    int w, h;
    std::vector<std::pair<int, int>> land;
    int rings;
    std::vector<std::string> cropped;
  } cases[] = {
      {"one ring round one square", 10, 10, {{5, 5}}, 1, {"XSX", "SCS", "XSX"}},
      {"two rings", 10, 10, {{5, 5}}, 2, {"XXSXX", "XSSSX", "SSCSS", "XSSSX", "XXSXX"}},
      {"no rings", 10, 10, {{3, 4}, {5, 6}}, 0, {"CXX", "XXX", "XXC"}},
      {"a negative count", 10, 10, {{3, 4}, {5, 6}}, -3, {"CXX", "XXX", "XXC"}},
      // Land beside the last column is padded only up to it: column W never becomes "S".
      {"beside the last column", 10, 8, {{9, 4}}, 2, {"XXS", "XSS", "SSC", "XSS", "XXS"}},
      // Row 0 and column 0 are not scanned by the crop.
      {"land on row and column 0", 7, 5, {{0, 2}, {3, 0}, {2, 3}}, 0, {"C"}},
      {"rings that meet", 20, 20, {{8, 8}, {10, 8}}, 1, {"XSXSX", "SCSCS", "XSXSX"}},
  };
  for (const auto& c : cases) {
    ShapingFixture fixture;
    fixture.world.WatchMode = true;
    BuildContext context = fixture.Context();
    MassCanvas canvas(c.w + 1, c.h + 1, kOpen);
    for (const auto& [x, y] : c.land) canvas(x, y) = kLand;
    PadMass(context, canvas, c.w, c.h, static_cast<std::int16_t>(c.rings));
    EXPECT_EQ(Rows(CropMass(canvas, c.w, c.h)), c.cropped) << c.what;
    const auto& shown = fixture.hooks.pads;
    int padding = 0;
    for (char code : canvas.Cells()) padding += code == kPad ? 1 : 0;
    EXPECT_EQ(static_cast<int>(shown.size()), padding) << c.what;
    const auto ring = [&](std::pair<int, int> s) {
      int best = 1 << 20;
      for (const auto& [x, y] : c.land) best = std::min(best, std::abs(x - s.first) + std::abs(y - s.second));
      return std::make_tuple(best, s.second, s.first);
    };
    for (std::size_t k = 1; k < shown.size(); ++k) EXPECT_LT(ring(shown[k - 1]), ring(shown[k])) << c.what;
  }
  EXPECT_EQ(CropMass(MassCanvas(8, 6, kOpen), 7, 5).Width(), 0);  // no land: an empty grid
}

}  // namespace
}  // namespace lorvex::shaping
