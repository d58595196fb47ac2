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

// The Tiled export: rendered by Tiled's own tmxrasterizer, and what Tiled does not show read
// back by hand.
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

TEST(TmxExport, WritesTheTilesetCitiesAndMapProperties) {
  CliFolder folder("lorvex-tmx");
  std::string error;
  ASSERT_TRUE(WriteTmx(testing::HostWorldOfRows(kRows), true, WorldKey{(std::uint64_t{1} << 63) + 5, 0}, (folder / "w.tmx").string(), error)) << error;
  EXPECT_TRUE(fs::is_regular_file(folder / "w-terrain.png"));
  const std::string tmx = ReadFile(folder / "w.tmx");
  // The tiles in the README's order with their letters and names.
  EXPECT_EQ(Properties(Between(tmx, "<tileset", "</tileset>")),
            (std::vector<std::string>{"code=S", "name=sea", "code=T", "name=border water (top)", "code=B",
                                      "name=border water (bottom)", "code=A", "name=border water", "code=C", "name=clear",
                                      "code=M", "name=mountains", "code=G", "name=rough", "code=F", "name=forest",
                                      "code=R", "name=river", "code=Y", "name=city"}));
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

// A world of the command line as a Tiled map: Tiled's own rendering shows every square of the
// text export in the colour its letter has in the README's table (each city's object drawn
// over it in the city colour), and the map's city count is the number of city squares.
TEST(TmxExport, TiledRendersEachSquareInTheColourOfItsLetter) {
  if (std::system("command -v tmxrasterizer >/dev/null") != 0) GTEST_SKIP() << "tmxrasterizer (Debian package tiled) is not on PATH";
  const std::map<char, std::array<int, 3>> colours = {
      {'S', {28, 78, 160}},  {'T', {12, 36, 84}},   {'B', {12, 36, 84}},  {'A', {12, 36, 84}},  {'C', {118, 178, 82}},
      {'M', {128, 112, 96}}, {'G', {184, 160, 96}}, {'F', {30, 108, 44}}, {'R', {84, 160, 236}}, {'Y', {214, 40, 40}}};
  CliFolder folder("lorvex-tmx");
  const testing::CliRun build = folder.Run("build --width 48 --height 32 --seed 11 --yes --quiet --tmx w.tmx --text w.txt");
  ASSERT_EQ(build.status, 0) << build.err;
  const std::string render = "cd '" + folder.Path().string() +
                             "' && QT_QPA_PLATFORM=offscreen tmxrasterizer --no-smoothing w.tmx tiled.png >render.log 2>&1";
  ASSERT_EQ(std::system(render.c_str()), 0) << ReadFile(folder / "render.log");
  const std::vector<std::string> letters = testing::Lines(ReadFile(folder / "w.txt"));
  ASSERT_EQ(letters.size(), 32u);
  std::string error;
  PngImage tiled;
  ASSERT_TRUE(ReadPng((folder / "tiled.png").string(), tiled, error)) << error;
  ASSERT_EQ(std::make_pair(tiled.width, tiled.height), std::make_pair(48 * kTmxTilePixels, 32 * kTmxTilePixels));
  int cities = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) {
      const char letter = letters[static_cast<std::size_t>(y)].at(static_cast<std::size_t>(x));
      cities += letter == 'Y';
      const int px = x * kTmxTilePixels, py = y * kTmxTilePixels, last = kTmxTilePixels - 1;
      for (const auto& [dx, dy] : {std::pair{1, 1}, std::pair{last / 2, last / 2}, std::pair{last - 1, last - 1}}) {
        const Rgb c = tiled.ColourAt(px + dx, py + dy);
        EXPECT_EQ((std::array<int, 3>{c.r, c.g, c.b}), colours.at(letter)) << letter << " at square " << x << ", " << y;
        EXPECT_EQ(tiled.AlphaAt(px + dx, py + dy), 255) << "square " << x << ", " << y;
      }
    }
  EXPECT_GT(cities, 0);
  const std::vector<std::string> map = Properties(Between(ReadFile(folder / "w.tmx"), "<map ", "<tileset"));
  EXPECT_NE(std::find(map.begin(), map.end(), "cities=" + std::to_string(cities)), map.end());
}

}  // namespace
}  // namespace lorvex
