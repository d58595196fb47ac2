// The exports judged by independent readers: the Tiled map rendered by Tiled's own
// tmxrasterizer, the Freeciv scenario played by the real freeciv-server; beside them, what
// those readers do not show, read back by hand.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "export/freeciv_export.h"
#include "export/png_file.h"
#include "export/tmx_export.h"
#include "support/host_world.h"

namespace lorvex::exporting {
namespace {

namespace fs = std::filesystem;
using namespace lorvex::testing;

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
  std::vector<std::vector<std::string>> got;
  for (std::size_t at = tmx.find("<object "); at != std::string::npos; at = tmx.find("<object ", at + 1))
    got.push_back(Properties(tmx.substr(at, tmx.find("</object>", at) - at)));
  EXPECT_EQ(got, cities);
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

const std::string kServer = "/usr/games/freeciv-server";

bool FreecivInstalled() {
  return fs::exists(kServer) && fs::exists("/usr/share/games/freeciv/classic/game.ruleset");
}

// A port of 127.0.0.1 that nothing listens on at the moment of asking.
int FreecivFreePort() {
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

// The game the server saved once it started `scenario` in `folder`, or "" with its output
// in `output`. It refuses root, so runs as nobody then; listening for players without
// having started, it never will. Its log may hold no error (level 0 or 1).
std::string PlayToFirstSave(const CliFolder& folder, const std::string& scenario, int players, std::string& output) {
  WriteFile(folder / "play.serv", "set minplayers 0\nset aifill " + std::to_string(players) +
                                      "\nset dispersion 0\nset compresstype PLAIN\nset autosaves TURN\n"
                                      "set saveturns 1\nset savename turn-%T\nstart\n");
  std::string command = "cd '" + folder.Path().string() + "' && (env -i HOME=. LC_ALL=C PATH=/usr/bin:/bin timeout -s KILL 600 ";
  if (::geteuid() == 0) {
    EXPECT_EQ(::chown(folder.Path().c_str(), 65534, 65534), 0) << "nobody (65534) takes the folder";
    command += "setpriv --reuid=65534 --regid=65534 --clear-groups --pdeathsig=KILL ";
  }
  command += kServer + " -A none -b 127.0.0.1 -p " + std::to_string(FreecivFreePort()) + " -f " + scenario +
             " -r play.serv -s . -l server.log; echo server ended) > server.out 2>&1";
  FILE* input = ::popen(command.c_str(), "w");
  if (input == nullptr) return "";
  const std::regex saved("Game saved as ([^\n]*\\.sav)\n");
  std::smatch match;
  for (;; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
    output = ReadFile(folder / "server.out");
    if (std::regex_search(output, match, saved) || output.find("server ended") != std::string::npos ||
        (output.find("Now accepting new client connections") != std::string::npos &&
         output.find("Starting game.") == std::string::npos))
      break;
  }
  std::fputs("quit\n", input);
  ::pclose(input);
  const std::string log = ReadFile(folder / "server.log");
  EXPECT_FALSE(std::regex_search(log, std::regex("(^|\n)[01]:"))) << log;
  return match.empty() ? "" : ReadFile(folder / match[1].str());
}

// The entries "key=value" of a savegame whose key matches `key`.
std::map<std::string, std::string> SavedEntries(const std::string& savegame, const std::regex& key) {
  std::map<std::string, std::string> entries;
  for (const std::string& line : lorvex::testing::Lines(savegame)) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && std::regex_match(line.substr(0, equals), key))
      entries[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return entries;
}

// The map rows of a savegame, from the top, without their quotes.
std::vector<std::string> SavedTerrainRows(const std::string& savegame) {
  std::vector<std::string> rows;
  for (const auto& [key, value] : SavedEntries(savegame, std::regex(R"(t\d{4})")))
    rows.push_back(value.substr(1, value.size() - 2));
  return rows;
}

// The river squares (x, y) of a savegame, found by the River's place in its list of
// extras: each digit of row eGG_YYYY holds four extras, from extra 4 * GG up.
std::set<std::pair<int, int>> SavedRivers(const std::string& savegame) {
  const std::string list = SavedEntries(savegame, std::regex("extras_vector"))["extras_vector"];
  std::vector<std::string> names;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) names.push_back(item);
  const auto river = std::find(names.begin(), names.end(), "\"River\"");
  if (river == names.end()) return {{-1, -1}};  // no River in the list of extras
  const auto index = static_cast<int>(river - names.begin());
  char group[16];
  std::snprintf(group, sizeof group, "e%02d_", index / 4);
  std::set<std::pair<int, int>> squares;
  for (const auto& [key, value] : SavedEntries(savegame, std::regex(std::string(group) + R"(\d{4})"))) {
    for (std::size_t x = 1; x + 1 < value.size(); ++x)
      if ((std::stoi(value.substr(x, 1), nullptr, 16) >> (index % 4) & 1) != 0)
        squares.insert({static_cast<int>(x) - 1, std::stoi(key.substr(4))});
  }
  return squares;
}

// The squares the Settlers of a started game stand on: each player's start (no dispersion).
std::set<std::pair<int, int>> SettlerSquares(const std::string& game) {
  std::set<std::pair<int, int>> squares;
  for (const std::string& unit : lorvex::testing::Lines(game)) {
    int id = 0, x = -1, y = -1;
    if (unit.find(",\"Settlers\",") != std::string::npos && std::sscanf(unit.c_str(), "%d,%d,%d", &id, &x, &y) == 3)
      squares.insert({x, y});
  }
  return squares;
}

// The classic ruleset's identifiers a letter of the world may become.
const std::map<char, std::string> kFreecivAllowed = {
    {'T', ":"}, {'B', ":"}, {'A', ":"}, {'S', " :"}, {'C', "adfghjmpst"},
    {'M', "m"}, {'G', "h"}, {'F', "f"}, {'R', "adfghjmpst"}, {'Y', "adfghjmpst"},
};

// The shares of the biomes on Freeciv 3.0's own maps of 200 x 150 squares and 20 % land
// (its fractal generator, classic rules), per cent of the land, as the server saved two of
// them at turn 1 (map seeds 11 and 12).
const std::map<char, double> kFreecivOwnShares = {
    {'g', 18.7}, {'p', 18.7}, {'f', 16.0}, {'h', 15.1}, {'d', 7.9},
    {'s', 7.0},  {'a', 6.2},  {'m', 6.0},  {'j', 3.9},  {'t', 0.6},
};

// Scenarios of several sizes, started and saved by the server as written (the map's
// settings, squares and rivers), each player on a start of the scenario, more than 4
// squares (Freeciv's real distance) from every other; on maps of Freeciv's own size, each biome within 5 points of
// its share there. (Without the server, only as written.)
TEST(FreecivServer, PlaysEachScenarioAsWrittenWithItsPlayersApartAmidFreecivsBiomes) {
  const struct { int w, h; bool wrap; const char* more; int players; } rows[] = {
      {41, 27, false, "--seed 12", kFreecivDefaultPlayers},
      {16, 90, true, "--seed 3 --set 'txtLandMass(0) = 1' --set 'txtLandMass(1) = 1'", kFreecivDefaultPlayers},
      {200, 150, true, "--seed 42 --freeciv-players 10", 10},
      {200, 150, false, "--seed 7 --freeciv-players 6", 6},
  };
  std::set<char> underRivers;
  for (const auto& row : rows) {
    const std::string world = "--width " + std::to_string(row.w) + " --height " + std::to_string(row.h) +
                              (row.wrap ? " --wrap " : " ") + row.more;
    SCOPED_TRACE(world);
    CliFolder folder("lorvex-freeciv");
    const CliRun build = folder.Run("build " + world + " --yes --quiet --json w.json --freeciv w.sav");
    ASSERT_EQ(build.status, 0) << build.err;
    const std::string scenario = ReadFile(folder / "w.sav");
    const nlohmann::json exported = nlohmann::json::parse(ReadFile(folder / "w.json"));
    const std::vector<std::string> written = SavedTerrainRows(scenario);
    ASSERT_EQ(written.size(), exported["terrain"].size());
    // Every river square keeps its River; a city square may add one (the river through it).
    const std::set<std::pair<int, int>> rivers = SavedRivers(scenario);
    std::size_t riverSquares = 0;
    for (int y = 0; y < static_cast<int>(written.size()); ++y) {
      const std::string letters = exported["terrain"][y];
      ASSERT_EQ(written[y].size(), letters.size()) << "row " << y;
      for (int x = 0; x < static_cast<int>(letters.size()); ++x) {
        EXPECT_NE(kFreecivAllowed.at(letters[x]).find(written[y][x]), std::string::npos)
            << letters[x] << " at " << x << ", " << y << " became '" << written[y][x] << "'";
        const bool river = rivers.count({x, y}) != 0;
        EXPECT_TRUE(river ? letters[x] == 'R' || letters[x] == 'Y' : letters[x] != 'R') << letters[x] << " at " << x << ", " << y;
        riverSquares += river;
        if (river) underRivers.insert(written[y][x]);
      }
    }
    EXPECT_TRUE(riverSquares > 0 && riverSquares == rivers.size());
    // The scenario's starts, from the lines "x,y,exclude,nations" of its table.
    std::set<std::pair<int, int>> starts;
    std::istringstream table(scenario.substr(std::min(scenario.find("startpos={"), scenario.size())));
    for (std::string line; std::getline(table, line) && line != "}";)
      if (line.rfind("startpos", 0) != 0) starts.insert({std::stoi(line), std::stoi(line.substr(line.find(',') + 1))});
    EXPECT_EQ(starts.size(), static_cast<std::size_t>(row.players));
    if (!FreecivInstalled()) continue;
    std::string output;
    const std::string game = PlayToFirstSave(folder, "w.sav", row.players, output);
    ASSERT_FALSE(game.empty()) << output;  // saved at turn 1: the game started
    const std::string topology = row.wrap ? "\"WRAPX\"" : "\"\"", xsize = std::to_string(row.w), ysize = std::to_string(row.h);
    for (const std::string& setting : {"\"topology\"," + topology + "," + topology, "\"xsize\"," + xsize + "," + xsize,
                                       "\"ysize\"," + ysize + "," + ysize})
      EXPECT_NE(game.find("\n" + setting + "\n"), std::string::npos) << setting;
    EXPECT_EQ(SavedTerrainRows(game), written);
    EXPECT_EQ(SavedRivers(game), rivers);
    const std::set<std::pair<int, int>> players = SettlerSquares(game);
    EXPECT_EQ(players, starts);  // each player on a start of the scenario
    for (const auto& [x, y] : players)
      for (const auto& [ox, oy] : players) {
        const int dx = row.wrap ? std::min(std::abs(x - ox), row.w - std::abs(x - ox)) : std::abs(x - ox);
        EXPECT_TRUE((x == ox && y == oy) || std::max(dx, std::abs(y - oy)) > 4) << x << ", " << y << " and " << ox << ", " << oy;
      }
    if (row.w != 200) continue;  // the biomes' shares, on maps of the size of Freeciv's own
    std::map<char, double> shares;
    double land = 0;
    for (const std::string& line : written)
      for (char identifier : line)
        if (std::string(" :+").find(identifier) == std::string::npos) {  // land: not sea nor lake
          ++shares[identifier];
          ++land;
        }
    for (const auto& [identifier, own] : kFreecivOwnShares)
      EXPECT_NEAR(100 * shares[identifier] / land, own, 5) << "terrain '" << identifier << "'";
    for (const auto& [identifier, count] : shares) EXPECT_EQ(kFreecivOwnShares.count(identifier), 1u) << identifier;
  }
  // Rivers cross the land's terrains, not Grassland alone.
  EXPECT_GE(underRivers.size(), 5u) << std::string(underRivers.begin(), underRivers.end());
  if (!FreecivInstalled()) GTEST_SKIP() << "freeciv-server and its classic rules are not installed (tools/setup.sh installs them)";
}

// A city keeps the River where the river runs through it (rivers on two of its sides) and
// where it is the river's mouth (a river on one side, the sea on another), not beside a
// river that only touches it nor on the coast alone.
TEST(FreecivLand, ARiverThroughACityKeepsItsExtra) {
  const std::vector<std::string> rows = {
      "SSSSSSS",  //
      "SCCCCCS",  //
      "SRYRCCS",  // through the city at (2, 2)
      "SCCRCYS",  // the city at (5, 3) on the coast, no river
      "SCYRCCS",  // the city at (2, 4) only touches the river
      "SCCYCCS",  // the mouth at (3, 5)
      "SSSSSSS",
  };
  const FreecivLand land = FreecivLandOf(testing::HostWorldOfRows(rows).MapArray, false, 3);
  std::set<std::pair<int, int>> rivers;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x)
      if (land.river(x, y) != 0) rivers.insert({x, y});
  EXPECT_EQ(rivers, (std::set<std::pair<int, int>>{{1, 2}, {2, 2}, {3, 2}, {3, 3}, {3, 4}, {3, 5}}));
}

// Where the players start, on small worlds whose answer can be written down. Each mass is
// told by the columns it spans; the spacing is Freeciv's real distance.
TEST(FreecivStarts, LargestMassesFirstApartAndNoneWhereTheLandCannotSeatThem) {
  // Masses of 60 (columns 1-12), 25 (15-19, a city at (18, 3)) and 19 squares (22-25, less
  // one), the seas between them too wide to join them.
  std::vector<std::string> islands(7, std::string(28, 'S'));
  for (int y = 1; y <= 5; ++y)
    for (int x = 1; x <= 25; ++x) islands[y][x] = x <= 12 || (x >= 15 && x <= 19) || x >= 22 ? 'C' : 'S';
  islands[5][25] = 'S';
  islands[3][18] = 'Y';
  // One mass of 30 squares across the seam of a wrapping map (columns 0-4 and 23-27).
  std::vector<std::string> seam(5, std::string(28, 'S'));
  for (int y = 1; y <= 3; ++y)
    for (int x : {0, 1, 2, 3, 4, 23, 24, 25, 26, 27}) seam[y][x] = 'C';
  // Two blocks of ten squares that touch only at a corner: one mass of 20, as the server
  // counts continents.
  std::vector<std::string> corner(12, std::string(28, 'S'));
  for (int y = 1; y <= 10; ++y) corner[y].replace(y <= 5 ? 1 : 3, 2, "CC");
  const struct {
    const char* what;
    const std::vector<std::string>& rows;
    bool wrap;
    int players;
    std::vector<int> perMass;  // starts on columns 0-13, 14-20, 21-27
    bool onTheCity;            // a start on the city at (18, 3)
  } cases[] = {
      {"one, on the largest", islands, false, 1, {1, 0, 0}, false},
      {"two, still the largest the roomier", islands, false, 2, {2, 0, 0}, false},
      {"three, the next mass with its city", islands, false, 3, {2, 1, 0}, true},
      {"more than the large masses seat", islands, false, 4, {0, 0, 0}, false},
      {"a mass joined across the seam", seam, true, 2, {1, 0, 1}, false},
      {"the same land cut by the edge", seam, false, 1, {0, 0, 0}, false},
      {"two blocks joined at a corner", corner, false, 1, {1, 0, 0}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const HostWorld world = testing::HostWorldOfRows(c.rows);
    const FreecivLand land = FreecivLandOf(world.MapArray, c.wrap, 1);
    const std::vector<StartPosition> starts = ChooseStartPositions(world.MapArray, land.terrain, c.wrap, FreecivCities(world), c.players);
    std::vector<int> perMass(3, 0);
    bool onTheCity = false;
    for (const StartPosition& s : starts) {
      ++perMass[s.x <= 13 ? 0 : s.x <= 20 ? 1 : 2];
      EXPECT_NE(c.rows[s.y][s.x], 'S');
      onTheCity = onTheCity || (s.x == 18 && s.y == 3);
      for (const StartPosition& t : starts) EXPECT_TRUE(&s == &t || RealDistance(s.x, s.y, t.x, t.y, 28, c.wrap) > 4);
    }
    EXPECT_EQ(perMass, c.perMass);
    EXPECT_EQ(onTheCity, c.onTheCity);
  }
}

// The clear land of the polar rows of a tall map is Glacier or Tundra, far more of it here
// than Glacier's share; a short map has no Glacier.
TEST(FreecivLand, PolesFreezeAndTheOpenSeaIsDeep) {
  std::vector<std::string> tall(64, "CSSSSSSSSSSS");
  for (int y : {1, 2, 61, 62}) tall[y] = "CCCCCCCCCCCC";  // at least 0.9 of the way to a pole
  tall.front() = "TTTTTTTTTTTT";
  tall.back() = "BBBBBBBBBBBB";
  const FreecivLand cold = FreecivLandOf(testing::HostWorldOfRows(tall).MapArray, true, 99);
  for (int y : {1, 2, 61, 62})
    for (int x = 0; x < 12; ++x) EXPECT_NE(std::string("at").find(cold.terrain(x, y)), std::string::npos) << x << ", " << y;
  // Sea is deep (':') where no land lies within two squares, across either side of the seam
  // when the map wraps: the land's coast faces east in the top half, west in the bottom one.
  std::vector<std::string> shortMap(59, "SCCCCCCCCCCSSSSS");
  std::fill(shortMap.begin() + 30, shortMap.end(), "SSSSSCCCCCCCCCCS");
  for (const bool wrap : {false, true}) {
    const FreecivLand warm = FreecivLandOf(testing::HostWorldOfRows(shortMap).MapArray, wrap, 5);
    EXPECT_EQ(std::count(warm.terrain.Cells().begin(), warm.terrain.Cells().end(), 'a'), 0);
    std::string sea;
    for (int x = 11; x < 16; ++x) sea += warm.terrain(x, 10);
    for (int x = 0; x < 5; ++x) sea += warm.terrain(x, 48);
    EXPECT_EQ(sea, wrap ? "  ::  ::  " : "  ::::::  ") << wrap;
  }
}

// The smooth fields change little from square to square, as little across the seam of a
// wrapping map as anywhere else (a map whose width is no multiple of the lattice included),
// and differ from seed to seed.
TEST(FreecivLand, SmoothFieldsAreSeamlessOnAWrappingMapAndFollowTheSeed) {
  for (int width : {48, 37, 20}) {
    double step = 0, otherSeed = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < width; ++x) {
        const double here = SmoothField(7, 1, x, y, width, true);
        step = std::max(step, std::abs(SmoothField(7, 1, (x + 1) % width, y, width, true) - here));  // the seam too
        otherSeed = std::max(otherSeed, std::abs(SmoothField(8, 1, x, y, width, true) - here));
      }
    EXPECT_LT(step, 0.2) << width;
    EXPECT_GT(otherSeed, 0.1) << width;
  }
}

// The sizes the server takes, at each bound (the refusal's message is judged with the
// command line's other messages).
TEST(FreecivExport, MapsFreecivDoesNotTakeAreRefused) {
  const struct { int width, height; bool fits; } sizes[] = {
      {16, 16, true}, {16, 15, false}, {500, 4096, true}, {4094, 16, true}, {4095, 16, false}, {4096, 16, false}};
  std::string error;
  for (const auto& size : sizes)
    EXPECT_EQ(FreecivFits(size.width, size.height, error), size.fits) << size.width << " x " << size.height;
}

}  // namespace
}  // namespace lorvex::exporting
