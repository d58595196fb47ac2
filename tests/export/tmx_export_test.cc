// The Tiled export: read back by hand and rendered by Tiled's own tmxrasterizer.
#include "export/tmx_export.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "world/world_state.h"
#include "export/palette.h"
#include "export/png_file.h"
#include "export/world_export.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

// Every letter of the palette, a wrapping map's border rows and three cities. The cities at
// (0, 4) and (1, 0) take ordinals 0 and 1 although (1, 0) comes first row-major.
const std::vector<std::string> kRows = {
    "TTTTTTTTTT",
    "SCMGFRYSAS",
    "SCCMMGGFFS",
    "SRRRCCCCYS",
    "YCCSSSSSSS",
    "BBBBBBBBBB",
};

HostWorld MakeWorld(const std::vector<std::string>& rows) {
  HostWorld world;
  world.MapArray.Reset(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'S');
  for (int y = 0; y < world.MapArray.Height(); ++y)
    for (int x = 0; x < world.MapArray.Width(); ++x) world.MapArray(x, y) = rows[y][x];
  // Distinct values per city so that a swapped or shifted city shows.
  for (int x = 0; x < world.MapArray.Width(); ++x)
    for (int y = 0; y < world.MapArray.Height(); ++y)
      if (world.MapArray(x, y) == 'Y') {
        const auto k = static_cast<std::int16_t>(world.ProdArray.size());
        world.ProdArray.push_back(static_cast<std::int16_t>(100 + k));
        world.SpecArray.push_back(static_cast<std::int16_t>(-1 - k));
        world.OwnerArray.push_back(static_cast<std::int16_t>(7 * k));
      }
  return world;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh, empty folder for one test.
fs::path TestFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path folder = fs::path(::testing::TempDir()) / "lorvex_tmx" /
                          (std::string(info->test_suite_name()) + "." + info->name());
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Named property values of one XML fragment.
std::map<std::string, std::string> Properties(const std::string& xml) {
  std::map<std::string, std::string> values;
  const std::regex property(R"re(<property name="([^"]+)"(?: type="[^"]+")? value="([^"]*)"/>)re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), property), end; it != end; ++it)
    values[(*it)[1]] = (*it)[2];
  return values;
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const auto begin = text.find(open);
  if (begin == std::string::npos) return {};
  const auto end = text.find(close, begin + open.size());
  if (end == std::string::npos) return {};
  return text.substr(begin + open.size(), end - begin - open.size());
}

TEST(Palette, CoversEveryLetterTheBuildWritesOnce) {
  const char letters[] = {terrain::kTopBorder, terrain::kBottomBorder, terrain::kAllBorder,
                          terrain::kSea,       terrain::kClear,        terrain::kMountains,
                          terrain::kRough,     terrain::kForest,       terrain::kRiver,
                          terrain::kCity};
  std::set<char> codes;
  for (const auto& entry : kPalette) {
    EXPECT_TRUE(codes.insert(entry.code).second) << "twice: " << entry.code;
    EXPECT_FALSE(entry.name.empty()) << entry.code;
  }
  EXPECT_EQ(codes.size(), std::size(letters));
  for (char letter : letters) {
    ASSERT_TRUE(PaletteIndex(letter).has_value()) << letter;
    EXPECT_EQ(kPalette[static_cast<std::size_t>(*PaletteIndex(letter))].code, letter);
  }
  for (char stranger : {'Z', 'c', 'X', '\0'}) EXPECT_FALSE(PaletteIndex(stranger)) << stranger;
}

TEST(TmxExport, TilesetPathSitsBesideTheMap) {
  const struct { const char* map; const char* tileset; } rows[] = {
      {"world.tmx", "world-terrain.png"},
      {"/tmp/out/big.world.tmx", "/tmp/out/big.world-terrain.png"},
      {"maps/plain", "maps/plain-terrain.png"},
  };
  for (const auto& row : rows) EXPECT_EQ(TmxTilesetPath(row.map), row.tileset) << row.map;
}

TEST(TmxExport, WritesTerrainCitiesAndMapProperties) {
  const fs::path folder = TestFolder();
  const HostWorld world = MakeWorld(kRows);
  const std::uint64_t seed = (std::uint64_t{1} << 63) + 5;  // beyond a 32-bit property
  std::string error;
  ASSERT_TRUE(WriteTmx(world, true, seed, (folder / "w.tmx").string(), error)) << error;
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"w-terrain.png", "w.tmx"}));
  const std::string tmx = ReadText(folder / "w.tmx");

  const auto mapProperties = Properties(Between(tmx, "<map ", "<tileset"));
  EXPECT_EQ(mapProperties.at("seed"), "9223372036854775813");
  EXPECT_EQ(mapProperties.at("width"), "10");
  EXPECT_EQ(mapProperties.at("height"), "6");
  EXPECT_EQ(mapProperties.at("wrap"), "true");
  EXPECT_EQ(mapProperties.at("cities"), "3");
  EXPECT_NE(tmx.find("<image source=\"w-terrain.png\""), std::string::npos);

  // The CSV, read back through the palette, is the world row by row.
  std::istringstream csv(Between(tmx, "<data encoding=\"csv\">", "</data>"));
  std::vector<std::string> rows;
  for (std::string line; std::getline(csv, line);) {
    if (line.empty()) continue;
    std::string row;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');)
      row += kPalette.at(static_cast<std::size_t>(std::stoi(cell) - 1)).code;
    rows.push_back(row);
  }
  EXPECT_EQ(rows, kRows);

  // Objects in ordinal order: column-major, each carrying its own values.
  struct Expected { int x, y, production, specialty, owner; };
  const Expected expected[] = {{0, 4, 100, -1, 0}, {6, 1, 101, -2, 7}, {8, 3, 102, -3, 14}};
  std::vector<std::string> objects;
  for (std::size_t at = tmx.find("<object "); at != std::string::npos;
       at = tmx.find("<object ", at + 1))
    objects.push_back(tmx.substr(at, tmx.find("</object>", at) - at));
  ASSERT_EQ(objects.size(), std::size(expected));
  for (std::size_t k = 0; k < objects.size(); ++k) {
    const auto values = Properties(objects[k]);
    EXPECT_EQ(values.at("ordinal"), std::to_string(k));
    EXPECT_EQ(values.at("x"), std::to_string(expected[k].x)) << k;
    EXPECT_EQ(values.at("y"), std::to_string(expected[k].y)) << k;
    EXPECT_EQ(values.at("production"), std::to_string(expected[k].production)) << k;
    EXPECT_EQ(values.at("specialty"), std::to_string(expected[k].specialty)) << k;
    EXPECT_EQ(values.at("owner"), std::to_string(expected[k].owner)) << k;
  }
}

TEST(TmxExport, TilesetPictureHasOneTileOfEachColourInPaletteOrder) {
  const fs::path folder = TestFolder();
  std::string error;
  ASSERT_TRUE(WriteTmx(MakeWorld(kRows), false, 1, (folder / "w.tmx").string(), error)) << error;
  PngImage tiles;
  ASSERT_TRUE(ReadPng((folder / "w-terrain.png").string(), tiles, error)) << error;
  ASSERT_EQ(tiles.width, kTmxTilePixels * static_cast<int>(kPalette.size()));
  ASSERT_EQ(tiles.height, kTmxTilePixels);
  for (int x = 0; x < tiles.width; ++x)
    for (int y : {0, kTmxTilePixels - 1})
      ASSERT_EQ(tiles.ColourAt(x, y), kPalette[static_cast<std::size_t>(x / kTmxTilePixels)].colour)
          << "pixel " << x << ", " << y;
  EXPECT_EQ(Properties(ReadText(folder / "w.tmx")).at("wrap"), "false");
}

TEST(TmxExport, RefusesBadWorldsAndLeavesTheOldMapAlone) {
  HostWorld unknownLetter = MakeWorld({"SCS", "SqS"});
  HostWorld missingValues = MakeWorld({"SYS", "SYS"});
  missingValues.OwnerArray.pop_back();
  HostWorld valuesMissing = MakeWorld({"SYS", "YCY"});
  valuesMissing.ProdArray.resize(2);
  const struct { const char* what; HostWorld world; const char* reason; } rows[] = {
      {"empty", HostWorld{}, "no squares"},
      {"unknown letter", unknownLetter, "square (1, 1) has the unknown terrain code 'q'"},
      {"missing owner", missingValues, "2 city squares but 2 production, 2 specialty and 1 owner"},
      {"values missing", valuesMissing, "3 city squares but 2 production, 3 specialty and 3 owner"},
  };
  const fs::path folder = TestFolder();
  const fs::path map = folder / "old.tmx";
  std::ofstream(map) << "the old map";
  for (const auto& row : rows) {
    std::string error;
    EXPECT_FALSE(WriteTmx(row.world, false, 0, map.string(), error)) << row.what;
    EXPECT_NE(error.find(map.string()), std::string::npos) << error;
    EXPECT_NE(error.find(row.reason), std::string::npos) << error;
    EXPECT_EQ(ReadText(map), "the old map") << row.what;
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"old.tmx"}) << row.what;
  }
}

TEST(TmxExport, UnwritablePlacesGiveAClearErrorAndNoPartialFile) {
  const fs::path folder = TestFolder();
  const HostWorld world = MakeWorld(kRows);
  std::string error;
  EXPECT_FALSE(WriteTmx(world, false, 0, (folder / "missing" / "w.tmx").string(), error));
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  EXPECT_FALSE(WriteTmx(world, false, 0, "", error));
  EXPECT_NE(error.find("no file name"), std::string::npos) << error;
  // The map's place is taken by a folder: no tileset picture is left behind either.
  fs::create_directories(folder / "taken.tmx");
  EXPECT_FALSE(WriteTmx(world, false, 0, (folder / "taken.tmx").string(), error));
  EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"taken.tmx"});
  fs::remove(folder / "taken.tmx");
  // The tileset picture's place is taken by a folder: the map must not appear without it.
  fs::create_directories(folder / "w-terrain.png");
  EXPECT_FALSE(WriteTmx(world, false, 0, (folder / "w.tmx").string(), error));
  EXPECT_NE(error.find("w-terrain.png"), std::string::npos) << error;
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"w-terrain.png"});
}

TEST(PngFile, RefusesWhatIsNotAPicture) {
  const fs::path folder = TestFolder();
  std::ofstream(folder / "fake.png") << "not a picture";
  PngImage image;
  std::string error;
  EXPECT_FALSE(ReadPng((folder / "fake.png").string(), image, error));
  EXPECT_NE(error.find("fake.png"), std::string::npos) << error;
  EXPECT_FALSE(ReadPng((folder / "none.png").string(), image, error));
  PngImage broken{2, 2, 3, std::vector<std::uint8_t>(11)};  // one byte short
  EXPECT_FALSE(WritePng(broken, (folder / "b.png").string(), error));
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"fake.png"});
}

// Tiled's command-line renderer, found on PATH.
std::string FindRasterizer() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (folder.empty()) continue;
    const fs::path candidate = fs::path(folder) / "tmxrasterizer";
    std::error_code ignored;
    if (fs::is_regular_file(candidate, ignored)) return candidate.string();
  }
  return {};
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Renders map into picture at one pixel a tile pixel; extra options go before the files.
void Rasterize(const std::string& tool, const fs::path& map, const fs::path& picture,
               const std::string& options) {
  const fs::path log = picture.string() + ".log";
  const std::string command = "QT_QPA_PLATFORM=offscreen " + Quoted(tool) +
                              " --no-smoothing " + options + " " + Quoted(map) + " " +
                              Quoted(picture) + " >" + Quoted(log) + " 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_EQ(status, 0) << command << "\n" << ReadText(log);
}

TEST(TmxExport, TiledRendersEverySquareInItsPaletteColour) {
  const std::string tool = FindRasterizer();
  if (tool.empty()) GTEST_SKIP() << "tmxrasterizer (Debian package tiled) is not on PATH";
  const fs::path folder = TestFolder();
  const HostWorld world = MakeWorld(kRows);
  std::string error;
  ASSERT_TRUE(WriteTmx(world, true, 42, (folder / "w.tmx").string(), error)) << error;

  ASSERT_NO_FATAL_FAILURE(Rasterize(tool, folder / "w.tmx", folder / "all.png", "--hide-layer cities"));
  PngImage all;
  ASSERT_TRUE(ReadPng((folder / "all.png").string(), all, error)) << error;
  ASSERT_EQ(all.width, world.MapArray.Width() * kTmxTilePixels);
  ASSERT_EQ(all.height, world.MapArray.Height() * kTmxTilePixels);
  for (int y = 0; y < world.MapArray.Height(); ++y)
    for (int x = 0; x < world.MapArray.Width(); ++x) {
      const Rgb expected = kPalette[static_cast<std::size_t>(*PaletteIndex(world.MapArray(x, y)))].colour;
      // Two corners and the centre of the square: a shifted tile or layer shows at the edges.
      for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{kTmxTilePixels / 2, kTmxTilePixels / 2},
                                   std::pair{kTmxTilePixels - 1, kTmxTilePixels - 1}}) {
        const int px = x * kTmxTilePixels + dx;
        const int py = y * kTmxTilePixels + dy;
        EXPECT_EQ(all.ColourAt(px, py), expected) << "square " << x << ", " << y;
        EXPECT_EQ(all.AlphaAt(px, py), 255) << "square " << x << ", " << y;
      }
    }

  // The city objects alone: opaque city colour exactly on the city squares.
  ASSERT_NO_FATAL_FAILURE(Rasterize(tool, folder / "w.tmx", folder / "cities.png", "--show-layer cities"));
  PngImage cities;
  ASSERT_TRUE(ReadPng((folder / "cities.png").string(), cities, error)) << error;
  ASSERT_EQ(cities.width, all.width);
  ASSERT_EQ(cities.height, all.height);
  for (int y = 0; y < world.MapArray.Height(); ++y)
    for (int x = 0; x < world.MapArray.Width(); ++x) {
      const int px = x * kTmxTilePixels + kTmxTilePixels / 2;
      const int py = y * kTmxTilePixels + kTmxTilePixels / 2;
      if (world.MapArray(x, y) == 'Y') {
        EXPECT_EQ(cities.AlphaAt(px, py), 255) << "city " << x << ", " << y;
        EXPECT_EQ(cities.ColourAt(px, py), kPalette[*PaletteIndex('Y')].colour);
      } else {
        EXPECT_EQ(cities.AlphaAt(px, py), 0) << "no city at " << x << ", " << y;
      }
    }
}

// A world of the command line written both ways: Tiled's rendering of the map, with its
// city objects over the terrain, must show every square in the colour of the --png picture
// drawn at one tile's pixels a square.
TEST(TmxExport, TiledRendersACommandLineWorldLikeItsPng) {
  const std::string tool = FindRasterizer();
  if (tool.empty()) GTEST_SKIP() << "tmxrasterizer (Debian package tiled) is not on PATH";
  const fs::path folder = TestFolder();
  const std::string build = "cd " + Quoted(folder) + " && '" LORVEX_CLI_PATH
                            "' build --width 48 --height 32 --seed 11 --yes --quiet --tmx w.tmx"
                            " --png w.png --scale " + std::to_string(kTmxTilePixels) +
                            " >build.log 2>&1";
  ASSERT_EQ(std::system(build.c_str()), 0) << ReadText(folder / "build.log");
  ASSERT_NO_FATAL_FAILURE(Rasterize(tool, folder / "w.tmx", folder / "tiled.png", ""));

  std::string error;
  PngImage ours, tiled;
  ASSERT_TRUE(ReadPng((folder / "w.png").string(), ours, error)) << error;
  ASSERT_TRUE(ReadPng((folder / "tiled.png").string(), tiled, error)) << error;
  ASSERT_EQ(tiled.width, ours.width);
  ASSERT_EQ(tiled.height, ours.height);
  ASSERT_EQ(ours.width, 48 * kTmxTilePixels);
  int cities = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) {
      const int px = x * kTmxTilePixels, py = y * kTmxTilePixels;
      const int middle = kTmxTilePixels / 2;
      // The PNG outlines a city square; inside the outline both show the city colour.
      const bool city = ours.ColourAt(px, py) == exporting::kCityOutline;
      cities += city ? 1 : 0;
      const int inset = city ? 1 : 0;
      for (const auto& [dx, dy] : {std::pair{inset, inset}, std::pair{middle, middle},
                                   std::pair{kTmxTilePixels - 1 - inset, kTmxTilePixels - 1 - inset}}) {
        EXPECT_EQ(tiled.ColourAt(px + dx, py + dy), ours.ColourAt(px + dx, py + dy))
            << "square " << x << ", " << y;
        EXPECT_EQ(tiled.AlphaAt(px + dx, py + dy), 255) << "square " << x << ", " << y;
      }
    }
  // The map has cities, and the Tiled map's object layer holds each of them.
  EXPECT_GT(cities, 0);
  EXPECT_EQ(Properties(Between(ReadText(folder / "w.tmx"), "<map ", "<tileset")).at("cities"),
            std::to_string(cities));
}

}  // namespace
}  // namespace lorvex
