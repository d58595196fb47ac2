#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "export/palette.h"
#include "export/png_file.h"
#include "export/tmx_export.h"
#include "export/world_export.h"
#include "support/host_world.h"

namespace lorvex {
namespace {

// The Tiled export: read back by hand, and rendered by Tiled's own tmxrasterizer.
namespace fs = std::filesystem;
using testing::CliFolder;
using testing::ReadFile;

// Every letter of the palette, a wrapping map's border rows and three cities. The cities at
// (0, 4) and (6, 1) take ordinals 0 and 1 although (6, 1) comes first row-major.
const std::vector<std::string> kRows = {"TTTTTTTTTT", "SCMGFRYSAS", "SCCMMGGFFS",
                                        "SRRRCCCCYS", "YCCSSSSSSS", "BBBBBBBBBB"};


// The properties of one XML fragment, in order, as "name=value".
std::vector<std::string> Properties(const std::string& xml) {
  std::vector<std::string> values;
  for (std::size_t at = xml.find("<property name=\""); at != std::string::npos; at = xml.find("<property name=\"", at + 1)) {
    const std::size_t name = at + 16, value = xml.find("value=\"", at) + 7;
    values.push_back(xml.substr(name, xml.find('"', name) - name) + "=" + xml.substr(value, xml.find('"', value) - value));
  }
  return values;
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const auto begin = text.find(open);
  const auto end = begin == std::string::npos ? begin : text.find(close, begin + open.size());
  return end == std::string::npos ? std::string() : text.substr(begin + open.size(), end - begin - open.size());
}

TEST(TmxExport, WritesTerrainCitiesAndMapProperties) {
  std::string letters;
  for (const auto& entry : kPalette) letters += entry.code;
  EXPECT_EQ(letters, "STBACMGFRY");  // the tile ids in the order of the README, each letter once
  CliFolder folder("lorvex-tmx");
  std::string error;
  ASSERT_TRUE(WriteTmx(testing::HostWorldOfRows(kRows), true, WorldKey{(std::uint64_t{1} << 63) + 5, 0}, (folder / "w.tmx").string(), error)) << error;
  EXPECT_TRUE(fs::is_regular_file(folder / "w-terrain.png"));
  const std::string tmx = ReadFile(folder / "w.tmx");
  const std::vector<std::string> map = Properties(Between(tmx, "<map ", "<tileset"));
  for (const char* p : {"seed=9223372036854775813", "width=10", "height=6", "wrap=true", "cities=3"})
    EXPECT_NE(std::find(map.begin(), map.end(), p), map.end()) << p;
  // City objects in ordinal order: column-major, each with its own values.
  const std::vector<std::vector<std::string>> cities = {
      {"ordinal=0", "x=0", "y=4", "production=100", "specialty=-1", "owner=0"},
      {"ordinal=1", "x=6", "y=1", "production=101", "specialty=-2", "owner=7"},
      {"ordinal=2", "x=8", "y=3", "production=102", "specialty=-3", "owner=14"}};
  std::size_t k = 0;
  for (std::size_t at = tmx.find("<object "); at != std::string::npos; at = tmx.find("<object ", at + 1), ++k) {
    ASSERT_LT(k, cities.size());
    const std::vector<std::string> got = Properties(tmx.substr(at, tmx.find("</object>", at) - at));
    for (const std::string& p : cities[k]) EXPECT_NE(std::find(got.begin(), got.end(), p), got.end()) << p;
  }
  EXPECT_EQ(k, cities.size());
}

// A world of the command line written both ways: Tiled's rendering of the map, its city
// objects over the terrain, shows every square in the colour of the --png picture drawn at
// one tile's pixels a square.
TEST(TmxExport, TiledRendersACommandLineWorldLikeItsPng) {
  if (std::system("command -v tmxrasterizer >/dev/null") != 0) GTEST_SKIP() << "tmxrasterizer (Debian package tiled) is not on PATH";
  CliFolder folder("lorvex-tmx");
  const testing::CliRun build = folder.Run("build --width 48 --height 32 --seed 11 --yes --quiet --tmx w.tmx --png w.png --scale " +
                                           std::to_string(kTmxTilePixels));
  ASSERT_EQ(build.status, 0) << build.err;
  const std::string render = "cd '" + folder.Path().string() +
                             "' && QT_QPA_PLATFORM=offscreen tmxrasterizer --no-smoothing w.tmx tiled.png >render.log 2>&1";
  ASSERT_EQ(std::system(render.c_str()), 0) << ReadFile(folder / "render.log");
  std::string error;
  PngImage ours, tiled;
  ASSERT_TRUE(ReadPng((folder / "w.png").string(), ours, error)) << error;
  ASSERT_TRUE(ReadPng((folder / "tiled.png").string(), tiled, error)) << error;
  ASSERT_EQ(std::make_pair(tiled.width, tiled.height), std::make_pair(48 * kTmxTilePixels, 32 * kTmxTilePixels));
  ASSERT_EQ(std::make_pair(ours.width, ours.height), std::make_pair(tiled.width, tiled.height));
  int cities = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) {
      const int px = x * kTmxTilePixels, py = y * kTmxTilePixels, last = kTmxTilePixels - 1;
      const int inset = ours.ColourAt(px, py) == exporting::kCityOutline ? 1 : 0;  // inside the outline
      cities += inset;
      for (const auto& [dx, dy] : {std::pair{inset, inset}, std::pair{last / 2, last / 2}, std::pair{last - inset, last - inset}}) {
        EXPECT_EQ(tiled.ColourAt(px + dx, py + dy), ours.ColourAt(px + dx, py + dy)) << "square " << x << ", " << y;
        EXPECT_EQ(tiled.AlphaAt(px + dx, py + dy), 255) << "square " << x << ", " << y;
      }
    }
  EXPECT_GT(cities, 0);
  const std::vector<std::string> map = Properties(Between(ReadFile(folder / "w.tmx"), "<map ", "<tileset"));
  EXPECT_NE(std::find(map.begin(), map.end(), "cities=" + std::to_string(cities)), map.end());
}

}  // namespace
}  // namespace lorvex
