#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <netinet/in.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "export/freeciv_export.h"
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

namespace lorvex::exporting {
namespace {

// The Freeciv scenario: played by the real freeciv-server, which must load it, start the
// game and save it with the terrain and rivers we wrote; and the rules the server cannot
// judge (which sea is deep, which cities become start positions, the sizes Freeciv takes).
using lorvex::testing::CliFolder;
using lorvex::testing::CliRun;
using lorvex::testing::ReadFile;
using lorvex::testing::WriteFile;

// A port of 127.0.0.1 that nothing listens on at the moment of asking.
int FreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (::bind(probe, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  ::close(probe);
  return port;
}

// The entries "key=value" of a savegame whose key matches `key`.
std::map<std::string, std::string> Entries(const std::string& savegame, const std::regex& key) {
  std::map<std::string, std::string> entries;
  std::istringstream lines(savegame);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && std::regex_match(line.substr(0, equals), key))
      entries[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return entries;
}

// The map rows of a savegame, from the top, without their quotes.
std::vector<std::string> TerrainRows(const std::string& savegame) {
  std::vector<std::string> rows;
  for (const auto& [key, value] : Entries(savegame, std::regex(R"(t\d{4})")))
    rows.push_back(value.substr(1, value.size() - 2));
  return rows;
}

// The river squares of a savegame, "x,y" each, found by the River's place in its list of
// extras: each digit of row eGG_YYYY holds four extras, from extra 4 * GG up.
std::set<std::string> Rivers(const std::string& savegame) {
  const std::string list = Entries(savegame, std::regex("extras_vector"))["extras_vector"];
  std::vector<std::string> names;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) names.push_back(item);
  const auto river = std::find(names.begin(), names.end(), "\"River\"");
  if (river == names.end()) return {"no River in the list of extras"};
  const auto index = static_cast<int>(river - names.begin());
  char group[16];
  std::snprintf(group, sizeof group, "e%02d_", index / 4);
  std::set<std::string> squares;
  for (const auto& [key, value] : Entries(savegame, std::regex(std::string(group) + R"(\d{4})"))) {
    const int y = std::stoi(key.substr(4));
    for (std::size_t x = 1; x + 1 < value.size(); ++x)
      if ((std::stoi(value.substr(x, 1), nullptr, 16) >> (index % 4) & 1) != 0)
        squares.insert(std::to_string(x - 1) + "," + std::to_string(y));
  }
  return squares;
}

// The start positions of a savegame, "x,y,exclude,nations" each (the server saves them in
// an order of its own).
std::multiset<std::string> StartPositionLines(const std::string& savegame) {
  std::multiset<std::string> lines;
  std::istringstream text(savegame.substr(savegame.find("startpos={")));
  std::string line;
  std::getline(text, line);
  while (std::getline(text, line) && line != "}") lines.insert(line);
  return lines;
}

// The classic ruleset's identifiers a terrain letter may become.
const std::map<char, std::string> kAllowed = {
    {'T', ":"}, {'B', ":"}, {'A', ":"}, {'S', " :"}, {'C', "gp"},
    {'M', "m"}, {'G', "h"}, {'F', "f"}, {'R', "g"},  {'Y', "g"},
};

TEST(FreecivExport, TheServerLoadsStartsAndSavesTheWorldAsWritten) {
  const std::string server = "/usr/games/freeciv-server";
  if (!fs::exists(server) || !fs::exists("/usr/share/games/freeciv/classic/game.ruleset"))
    GTEST_SKIP() << "freeciv-server and its classic rules are not installed (tools/setup.sh installs them)";
  const struct {
    const char* what;
    const char* world;
    const char* settings;  // as the saved game holds them
  } rows[] = {
      {"not wrapping", "--width 41 --height 27 --seed 12",
       "\"topology\",\"\",\"\"\n\"xsize\",41,41\n\"ysize\",27,27\n"},
      {"wrapping, odd height", "--width 48 --height 33 --wrap --seed 5",
       "\"topology\",\"WRAPX\",\"WRAPX\"\n\"xsize\",48,48\n\"ysize\",33,33\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CliFolder folder("lorvex-freeciv");
    const CliRun build = folder.Run(std::string("build ") + row.world + " --yes --quiet --json w.json --freeciv w.sav");
    ASSERT_EQ(build.status, 0) << build.err;
    const std::string scenario = ReadFile(folder / "w.sav");
    const nlohmann::json world = nlohmann::json::parse(ReadFile(folder / "w.json"));
    // Every square as the table allows its letter, rivers exactly on the river squares,
    // start positions on cities: what the server cannot tell us.
    const std::vector<std::string> written = TerrainRows(scenario);
    ASSERT_EQ(written.size(), world["terrain"].size());
    std::set<std::string> riverLetters;
    for (std::size_t y = 0; y < written.size(); ++y) {
      const std::string letters = world["terrain"][y];
      ASSERT_EQ(written[y].size(), letters.size()) << "row " << y;
      for (std::size_t x = 0; x < letters.size(); ++x) {
        EXPECT_NE(kAllowed.at(letters[x]).find(written[y][x]), std::string::npos)
            << letters[x] << " at " << x << ", " << y << " became '" << written[y][x] << "'";
        if (letters[x] == 'R') riverLetters.insert(std::to_string(x) + "," + std::to_string(y));
      }
    }
    EXPECT_FALSE(riverLetters.empty());
    EXPECT_EQ(Rivers(scenario), riverLetters);
    const std::multiset<std::string> starts = StartPositionLines(scenario);
    EXPECT_EQ(starts.size(), world["cities"].size());
    for (const std::string& start : starts) {
      int x = -1, y = -1;
      std::sscanf(start.c_str(), "%d,%d", &x, &y);
      EXPECT_EQ(std::string(world["terrain"][y]).at(x), 'Y') << start;
    }

    // The server (as nobody when we are root, which it refuses) on 127.0.0.1 and a free
    // port saves the game as each turn begins: the first save is the started game. Once it
    // listens for players without having started, it never will; "server ended" follows
    // its output when it ends, and a server that hangs is killed after ten minutes.
    WriteFile(folder / "play.serv", "set minplayers 0\nset aifill 2\nset compresstype PLAIN\nset autosaves TURN\n"
                                    "set saveturns 1\nset savename turn-%T\nstart\n");
    std::string command = "cd '" + folder.Path().string() + "' && (env -i HOME=. LC_ALL=C PATH=/usr/bin:/bin timeout -s KILL 600 ";
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(folder.Path().c_str(), 65534, 65534), 0) << "nobody (65534) takes the folder";
      command += "setpriv --reuid=65534 --regid=65534 --clear-groups --pdeathsig=KILL ";
    }
    command += server + " -A none -b 127.0.0.1 -p " + std::to_string(FreePort()) +
               " -f w.sav -r play.serv -s . -l server.log; echo server ended) > server.out 2>&1";
    FILE* input = ::popen(command.c_str(), "w");
    ASSERT_NE(input, nullptr);
    const std::regex saved("Game saved as ([^\n]*\\.sav)\n");
    std::smatch match;
    std::string output;
    for (;; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
      output = ReadFile(folder / "server.out");
      if (std::regex_search(output, match, saved) || output.find("server ended") != std::string::npos ||
          (output.find("Now accepting new client connections") != std::string::npos &&
           output.find("Starting game.") == std::string::npos))
        break;
    }
    std::fputs("quit\n", input);
    ::pclose(input);
    ASSERT_FALSE(match.empty()) << output;
    const std::string log = ReadFile(folder / "server.log");
    EXPECT_FALSE(std::regex_search(log, std::regex("(^|\n)[01]:"))) << log;

    const std::string game = ReadFile(folder / match[1].str());
    EXPECT_NE(game.find("server_state=\"S_S_RUNNING\""), std::string::npos);
    std::string settings;
    std::istringstream lines(game);
    for (std::string line; std::getline(lines, line);)
      if (std::regex_match(line, std::regex(R"re("(topology|xsize|ysize)",.*)re"))) settings += line + "\n";
    EXPECT_EQ(settings, row.settings);
    EXPECT_EQ(TerrainRows(game), written);
    EXPECT_EQ(Rivers(game), riverLetters);
    EXPECT_EQ(StartPositionLines(game), starts);
  }
}


TEST(FreecivExport, SeaIsDeepOnlyWhereNoLandLiesWithinTwoSquares) {
  // One square of land at (0, 1); on a wrapping map it lies beside column 11.
  const HostWorld world = testing::HostWorldOfRows({"TTTTTTTTTTTT",
                                     "CSSSSSSSSSSS",
                                     "SSSSSSSSSSSS",
                                     "SSSSSSSSSSSS",
                                     "SSSSSSSSSSSS",
                                     "BBBBBBBBBBBB"});
  const struct { int x, y; bool wrap; const char* terrain; } rows[] = {
      {2, 1, false, "Ocean"}, {3, 1, false, "Deep Ocean"}, {2, 3, false, "Ocean"}, {3, 3, false, "Deep Ocean"},
      {0, 3, false, "Ocean"}, {0, 4, false, "Deep Ocean"}, {10, 1, true, "Ocean"}, {9, 1, true, "Deep Ocean"},
      {10, 3, true, "Ocean"}, {10, 1, false, "Deep Ocean"},
      {0, 0, false, "Deep Ocean"}, {1, 0, true, "Deep Ocean"},  // border water is deep even beside land
  };
  for (const auto& row : rows) {
    const std::optional<FreecivSquare> square = FreecivSquareAt(world.MapArray, row.wrap, row.x, row.y);
    ASSERT_TRUE(square.has_value());
    EXPECT_EQ(square->terrain, row.terrain) << row.x << ", " << row.y << (row.wrap ? " wrapping" : "");
    EXPECT_FALSE(square->river);
  }
}

TEST(FreecivExport, StartPositionsAreTheCitiesOfHighestProductionInHostOrder) {
  // Cities in one row, so that the host's column-major order is the order of x.
  const auto cities = [](std::vector<std::int16_t> production) {
    HostWorld world = testing::HostWorldOfRows({std::string(production.size(), 'Y') + "C"});
    world.ProdArray = production;
    world.CityCount = static_cast<std::int32_t>(production.size());
    return world;
  };
  std::vector<std::int16_t> many(kFreecivMaxStartPositions + 1, 7);
  many.back() = 8;
  std::vector<std::int32_t> manyOrder = {kFreecivMaxStartPositions};
  for (int x = 0; x + 1 < kFreecivMaxStartPositions; ++x) manyOrder.push_back(x);
  const struct { const char* what; HostWorld world; std::vector<std::int32_t> xs; } rows[] = {
      {"ties keep the host's order", cities({5, 9, 5, 12, -3}), {3, 1, 0, 2, 4}},
      {"no cities", cities({}), {}},
      {"at most the players of a game, the highest first", cities(many), manyOrder},
  };
  for (const auto& row : rows) {
    std::vector<std::int32_t> xs;
    for (const StartPosition& start : FreecivStartPositions(row.world)) {
      xs.push_back(start.x);
      EXPECT_EQ(start.y, 0);
    }
    EXPECT_EQ(xs, row.xs) << row.what;
  }
}

// (The command line's refusal, before it writes anything, is a row of its exit statuses.)
TEST(FreecivExport, MapsFreecivDoesNotTakeAreRefusedBeforeTheBuild) {
  const struct { int width, height; bool fits; } sizes[] = {{16, 16, true}, {16, 15, false}, {500, 4096, true}, {4096, 4096, false}};
  for (const auto& size : sizes) {
    std::string error;
    EXPECT_EQ(FreecivFits(size.width, size.height, error), size.fits) << size.width << " x " << size.height;
    EXPECT_TRUE(size.fits || error.find("at least 16 x 16") != std::string::npos) << error;
  }
}

}  // namespace
}  // namespace lorvex::exporting
