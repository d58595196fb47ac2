// The Freeciv scenario, played by the real freeciv-server: it must load and start every
// scenario, save the terrain and rivers we wrote, and seat the players of a game on masses
// of 20 squares or more, apart; the land must have the biomes of Freeciv's own maps in
// about their shares. Beside it, the rules the server cannot judge.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
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
#include "support/host_world.h"

namespace lorvex::exporting {
namespace {

namespace fs = std::filesystem;
using namespace lorvex::testing;

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

// Plays `scenario` in `folder` until the game has started and the server has saved it (as
// each turn begins: the first save is the started game); answers the saved game, or "" with
// the server's output in `output`. The server runs as nobody when we are root (it refuses
// root) on 127.0.0.1 and a free port. Once it listens for players without having started,
// it never will; "server ended" follows its output when it ends, and a server that hangs is
// killed after ten minutes. Its log may hold no error (level 0 or 1).
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

// The river squares of a savegame, "x,y" each, found by the River's place in its list of
// extras: each digit of row eGG_YYYY holds four extras, from extra 4 * GG up.
std::set<std::string> SavedRivers(const std::string& savegame) {
  const std::string list = SavedEntries(savegame, std::regex("extras_vector"))["extras_vector"];
  std::vector<std::string> names;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) names.push_back(item);
  const auto river = std::find(names.begin(), names.end(), "\"River\"");
  if (river == names.end()) return {"no River in the list of extras"};
  const auto index = static_cast<int>(river - names.begin());
  char group[16];
  std::snprintf(group, sizeof group, "e%02d_", index / 4);
  std::set<std::string> squares;
  for (const auto& [key, value] : SavedEntries(savegame, std::regex(std::string(group) + R"(\d{4})"))) {
    const int y = std::stoi(key.substr(4));
    for (std::size_t x = 1; x + 1 < value.size(); ++x)
      if ((std::stoi(value.substr(x, 1), nullptr, 16) >> (index % 4) & 1) != 0)
        squares.insert(std::to_string(x - 1) + "," + std::to_string(y));
  }
  return squares;
}

// The lines of a savegame's table that opens with `head` (up to its "}").
std::vector<std::string> SavedTable(const std::string& savegame, const std::string& head, std::size_t from = 0) {
  std::vector<std::string> lines;
  const std::size_t at = savegame.find(head, from);
  if (at == std::string::npos) return lines;
  std::istringstream text(savegame.substr(at));
  std::string line;
  std::getline(text, line);
  while (std::getline(text, line) && line != "}") lines.push_back(line);
  return lines;
}

// Where each player of a started game stands: the square of its Settlers (all on one
// square, the game having no dispersion; the Explorer is off exploring at once).
std::vector<std::pair<int, int>> PlayerSquares(const std::string& game) {
  std::vector<std::pair<int, int>> squares;
  for (std::size_t at = game.find("\n[player0]"); at != std::string::npos;
       at = game.find("\n[player" + std::to_string(squares.size()) + "]")) {
    std::set<std::pair<int, int>> units;
    for (const std::string& unit : SavedTable(game, "\nu={", at)) {
      if (unit.find("\"Settlers\"") == std::string::npos) continue;
      int id = 0, x = -1, y = -1;
      std::sscanf(unit.c_str(), "%d,%d,%d", &id, &x, &y);
      units.insert({x, y});
    }
    EXPECT_EQ(units.size(), 1u) << "player " << squares.size();
    squares.push_back(units.empty() ? std::pair{-1, -1} : *units.begin());
  }
  return squares;
}

bool SavedLand(char identifier) { return identifier != ' ' && identifier != ':' && identifier != '+'; }

// The size of the land mass of every square of the saved rows (0 on water): land joined by
// a side or a corner, across the seam when the map wraps, as Freeciv's continents.
std::vector<std::vector<int>> SavedMassSizes(const std::vector<std::string>& rows, bool wrap) {
  const int height = static_cast<int>(rows.size()), width = static_cast<int>(rows[0].size());
  std::vector<std::vector<int>> mass(rows.size(), std::vector<int>(rows[0].size(), -1));
  std::vector<int> sizes;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!SavedLand(rows[y][x]) || mass[y][x] >= 0) continue;
      std::vector<std::pair<int, int>> open = {{x, y}};
      mass[y][x] = static_cast<int>(sizes.size());
      sizes.push_back(0);
      while (!open.empty()) {
        const auto [cx, cy] = open.back();
        open.pop_back();
        ++sizes.back();
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int ny = cy + dy, nx = wrap ? (cx + dx + width) % width : cx + dx;
            if (ny < 0 || ny >= height || nx < 0 || nx >= width || !SavedLand(rows[ny][nx]) || mass[ny][nx] >= 0) continue;
            mass[ny][nx] = mass[y][x];
            open.push_back({nx, ny});
          }
      }
    }
  std::vector<std::vector<int>> size(rows.size(), std::vector<int>(rows[0].size(), 0));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) size[y][x] = mass[y][x] >= 0 ? sizes[mass[y][x]] : 0;
  return size;
}

// The classic ruleset's identifiers a letter of the world may become.
const std::map<char, std::string> kFreecivAllowed = {
    {'T', ":"}, {'B', ":"}, {'A', ":"}, {'S', " :"}, {'C', "adfghjmpst"},
    {'M', "m"}, {'G', "h"}, {'F', "f"}, {'R', "adfghjmpst"}, {'Y', "adfghjmpst"},
};

// Scenarios of several sizes and shapes, loaded, started and saved by the server as
// written: the settings that keep the map, every square, every river, every start.
// (Without the server, the scenarios are still judged as written.)
TEST(FreecivServer, LoadsStartsAndSavesScenariosOfSeveralSizesAsWritten) {
  const char* const worlds[] = {"--width 41 --height 27 --seed 12", "--width 48 --height 33 --wrap --seed 5",
                                "--width 16 --height 90 --wrap --seed 3 --set 'txtLandMass(0) = 1' --set 'txtLandMass(1) = 1'",
                                "--width 130 --height 64 --seed 8"};
  std::set<char> underRivers;
  for (const char* row : worlds) {
    SCOPED_TRACE(row);
    CliFolder folder("lorvex-freeciv");
    const CliRun build = folder.Run(std::string("build ") + row + " --yes --quiet --json w.json --freeciv w.sav");
    ASSERT_EQ(build.status, 0) << build.err;
    const std::string scenario = ReadFile(folder / "w.sav");
    const nlohmann::json world = nlohmann::json::parse(ReadFile(folder / "w.json"));
    const std::vector<std::string> written = SavedTerrainRows(scenario);
    ASSERT_EQ(written.size(), world["terrain"].size());
    std::set<std::string> riverLetters;
    for (std::size_t y = 0; y < written.size(); ++y) {
      const std::string letters = world["terrain"][y];
      ASSERT_EQ(written[y].size(), letters.size()) << "row " << y;
      for (std::size_t x = 0; x < letters.size(); ++x) {
        EXPECT_NE(kFreecivAllowed.at(letters[x]).find(written[y][x]), std::string::npos)
            << letters[x] << " at " << x << ", " << y << " became '" << written[y][x] << "'";
        if (letters[x] == 'R') riverLetters.insert(std::to_string(x) + "," + std::to_string(y));
      }
    }
    // Every river square keeps its River; a city square may add one (the river through it).
    const std::set<std::string> rivers = SavedRivers(scenario);
    EXPECT_FALSE(riverLetters.empty());
    for (const std::string& square : riverLetters) EXPECT_EQ(rivers.count(square), 1u) << square;
    for (const std::string& square : rivers) {
      int x = -1, y = -1;
      std::sscanf(square.c_str(), "%d,%d", &x, &y);
      EXPECT_NE(std::string("RY").find(std::string(world["terrain"][y]).at(x)), std::string::npos) << square;
      underRivers.insert(written[y][x]);
    }
    const std::vector<std::string> starts = SavedTable(scenario, "startpos={");
    EXPECT_EQ(starts.size(), static_cast<std::size_t>(kFreecivDefaultPlayers));
    if (!FreecivInstalled()) continue;
    std::string output;
    const std::string game = PlayToFirstSave(folder, "w.sav", kFreecivDefaultPlayers, output);
    ASSERT_FALSE(game.empty()) << output;
    EXPECT_NE(game.find("server_state=\"S_S_RUNNING\""), std::string::npos);
    std::string settings;
    for (const std::string& line : lorvex::testing::Lines(game))
      if (std::regex_match(line, std::regex(R"re("(topology|xsize|ysize)",.*)re"))) settings += line + "\n";
    int w = 0, h = 0;  // as the row asked
    std::sscanf(row, "--width %d --height %d", &w, &h);
    const std::string topology = std::strstr(row, "--wrap") ? "\"WRAPX\"" : "\"\"";
    EXPECT_EQ(settings, "\"topology\"," + topology + "," + topology + "\n\"xsize\"," + std::to_string(w) + "," + std::to_string(w) +
                            "\n\"ysize\"," + std::to_string(h) + "," + std::to_string(h) + "\n");
    EXPECT_EQ(SavedTerrainRows(game), written);
    EXPECT_EQ(SavedRivers(game), rivers);
    const std::vector<std::string> saved = SavedTable(game, "startpos={");
    EXPECT_EQ(std::multiset<std::string>(saved.begin(), saved.end()), std::multiset<std::string>(starts.begin(), starts.end()));
    EXPECT_EQ(PlayerSquares(game).size(), static_cast<std::size_t>(kFreecivDefaultPlayers));
  }
  // Rivers cross the land's terrains, not Grassland alone.
  EXPECT_GE(underRivers.size(), 5u) << std::string(underRivers.begin(), underRivers.end());
  if (!FreecivInstalled()) GTEST_SKIP() << "freeciv-server and its classic rules are not installed (tools/setup.sh installs them)";
}

// The shares of the biomes on Freeciv 3.0's own maps of 200 x 150 squares and 20 % land
// (its fractal generator, classic rules), per cent of the land, as the server saved two of
// them at turn 1 (map seeds 11 and 12).
const std::map<char, double> kFreecivOwnShares = {
    {'g', 18.7}, {'p', 18.7}, {'f', 16.0}, {'h', 15.1}, {'d', 7.9},
    {'s', 7.0},  {'a', 6.2},  {'m', 6.0},  {'j', 3.9},  {'t', 0.6},
};

// Games of 6 and of 10 players on worlds with small islands: every player starts on a mass
// of 20 squares or more, more than 4 squares (Freeciv's real distance) from every other;
// and the land of the saved game has each biome within 5 points of its share on Freeciv's
// own maps.
TEST(FreecivServer, SeatsEveryPlayerApartOnALargeMassAmidFreecivsBiomes) {
  if (!FreecivInstalled()) GTEST_SKIP() << "freeciv-server and its classic rules are not installed (tools/setup.sh installs them)";
  const struct {
    const char* world;
    int players;
    bool wrap;
  } rows[] = {
      {"--width 200 --height 150 --wrap --seed 42", 10, true},
      {"--width 200 --height 150 --seed 7", 6, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.world);
    CliFolder folder("lorvex-freeciv");
    const CliRun build = folder.Run(std::string("build ") + row.world + " --yes --quiet --freeciv w.sav --freeciv-players " +
                                    std::to_string(row.players));
    ASSERT_EQ(build.status, 0) << build.err;
    std::string output;
    const std::string game = PlayToFirstSave(folder, "w.sav", row.players, output);
    ASSERT_FALSE(game.empty()) << output;
    const std::vector<std::string> terrain = SavedTerrainRows(game);
    const std::vector<std::vector<int>> massSize = SavedMassSizes(terrain, row.wrap);
    const int width = static_cast<int>(terrain[0].size());
    const std::vector<std::pair<int, int>> players = PlayerSquares(game);
    ASSERT_EQ(players.size(), static_cast<std::size_t>(row.players));
    int smallestMass = 1 << 30, nearest = 1 << 30;
    for (std::size_t p = 0; p < players.size(); ++p) {
      const auto [x, y] = players[p];
      ASSERT_TRUE(x >= 0 && y >= 0 && y < static_cast<int>(terrain.size()) && x < width) << "player " << p;
      smallestMass = std::min(smallestMass, massSize[y][x]);
      for (std::size_t q = 0; q < p; ++q) {
        int dx = std::abs(x - players[q].first);
        if (row.wrap) dx = std::min(dx, width - dx);
        nearest = std::min(nearest, std::max(dx, std::abs(y - players[q].second)));
      }
    }
    EXPECT_GE(smallestMass, 20);
    EXPECT_GT(nearest, 4);

    std::map<char, double> shares;
    double land = 0;
    for (const std::string& line : terrain)
      for (char identifier : line)
        if (SavedLand(identifier)) {
          ++shares[identifier];
          ++land;
        }
    for (const auto& [identifier, own] : kFreecivOwnShares)
      EXPECT_NEAR(100 * shares[identifier] / land, own, 5) << "terrain '" << identifier << "'";
    for (const auto& [identifier, count] : shares) EXPECT_EQ(kFreecivOwnShares.count(identifier), 1u) << identifier;
  }
}

// A city on a river keeps the River where the river runs through it (rivers on two of its
// sides) and where it is the river's mouth (a river on one side, the sea on another), and
// gets none beside a river that only touches it; the server saves the rivers so.
TEST(FreecivServer, ARiverThroughACityKeepsItsExtra) {
  const std::vector<std::string> rows = {
      "AAAAAAAAAAAAAAAA",  //
      "ASSSSSSSSSSSSSSA",  //
      "ASCCCCCCCCCCCCSA",  //
      "ASCRRYRRRRCCCCSA",  // through the city at (5, 3)
      "ASCCCCCCCRCCCCSA",  //
      "ASCCYCCCCRCCCCSA",  // the city at (4, 5) only touches the river below it
      "ASCCRCCCCRCCCCSA",  //
      "ASCCRCCCCRCCCCSA",  //
      "ASCCCCCCCRCCCCSA",  //
      "ASCCCCCCCRCCCCSA",  //
      "ASCCCCCCCRCCCCSA",  //
      "ASCCCCCCCRCCCCSA",  //
      "ASCCCCCCCRCCCCSA",  //
      "ASCCCCCCCYCCCCSA",  // the mouth at (9, 13)
      "ASSSSSSSSSSSSSSA",  //
      "AAAAAAAAAAAAAAAA",
  };
  std::set<std::string> expected = {"5,3", "9,13"};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (rows[y][x] == 'R') expected.insert(std::to_string(x) + "," + std::to_string(y));
  CliFolder folder("lorvex-freeciv");
  FILE* out = std::fopen((folder / "w.sav").c_str(), "w");
  ASSERT_NE(out, nullptr);
  std::string error;
  ASSERT_TRUE(WriteFreecivScenario(testing::HostWorldOfRows(rows), {false, 3, 1}, out, error)) << error;
  std::fclose(out);
  EXPECT_EQ(SavedRivers(ReadFile(folder / "w.sav")), expected);
  if (!FreecivInstalled()) GTEST_SKIP() << "freeciv-server and its classic rules are not installed (tools/setup.sh installs them)";
  std::string output;
  const std::string game = PlayToFirstSave(folder, "w.sav", 1, output);
  ASSERT_FALSE(game.empty()) << output;
  EXPECT_EQ(SavedRivers(game), expected);
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

// The world's own Mountains, Rough and Forest stay; the polar rows of a tall map are Glacier
// or Tundra, and a short map has no Glacier.
TEST(FreecivLand, OwnTerrainStaysAndPolesFreeze) {
  std::vector<std::string> tall(64, "SSSSSSSSSSSS");
  tall.front() = tall.back() = "TTTTTTTTTTTT";
  tall.back() = "BBBBBBBBBBBB";
  for (int y = 1; y < 63; ++y) tall[y] = "CCCCMGFCSSSS";
  const FreecivLand land = FreecivLandOf(testing::HostWorldOfRows(tall).MapArray, true, 99);
  for (int y = 1; y < 63; ++y) {
    EXPECT_EQ(std::string(1, land.terrain(4, y)) + land.terrain(5, y) + land.terrain(6, y), "mhf") << y;
    const double latitude = std::abs(y + 0.5 - 32) / 32;
    for (int x : {1, 2, 3}) {
      if (latitude >= 0.9) {
        EXPECT_NE(std::string("at").find(land.terrain(x, y)), std::string::npos) << x << ", " << y;
      }
    }
  }
  // Sea is deep (':') where no land lies within two squares, across the seam when the map wraps.
  const std::vector<std::string> shortMap(59, "SCCCCCCCCCCSSSSS");
  for (const bool wrap : {false, true}) {
    const FreecivLand warm = FreecivLandOf(testing::HostWorldOfRows(shortMap).MapArray, wrap, 5);
    EXPECT_EQ(std::count(warm.terrain.Cells().begin(), warm.terrain.Cells().end(), 'a'), 0);
    std::string sea;
    for (int x = 11; x < 16; ++x) sea += warm.terrain(x, 30);
    EXPECT_EQ(sea, wrap ? "  :: " : "  :::") << wrap;
  }
}

// The smooth fields change little from square to square, as little across the seam of a
// wrapping map as anywhere else (a map whose width is no multiple of the lattice included),
// and differ from seed to seed.
TEST(FreecivLand, SmoothFieldsAreSeamlessOnAWrappingMapAndFollowTheSeed) {
  for (int width : {48, 37, 20}) {
    double inner = 0, seam = 0, otherSeed = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x + 1 < width; ++x)
        inner = std::max(inner, std::abs(SmoothField(7, 1, x + 1, y, width, true) - SmoothField(7, 1, x, y, width, true)));
      seam = std::max(seam, std::abs(SmoothField(7, 1, 0, y, width, true) - SmoothField(7, 1, width - 1, y, width, true)));
      for (int x = 0; x < width; ++x)
        otherSeed = std::max(otherSeed, std::abs(SmoothField(8, 1, x, y, width, true) - SmoothField(7, 1, x, y, width, true)));
    }
    EXPECT_LT(inner, 0.2) << width;
    EXPECT_LT(seam, 0.2) << width;
    EXPECT_GT(otherSeed, 0.1) << width;
  }
}

// What the server cannot play is refused with exit status 2 and a message before anything
// is written: a map 4095 squares wide or wider (not even built), a world without land (built,
// but none of its files written; a batch's index says so for each world).
TEST(FreecivExport, WhatTheServerCannotPlayIsRefusedBeforeAnythingIsWritten) {
  std::string noLand;
  for (int field : {0, 1, 6, 7, 12, 13, 18, 19}) noLand += " --set 'txtLandMass(" + std::to_string(field) + ") = 0'";
  const struct {
    std::string arguments;
    const char* told;
    int worldsInIndex;  // a batch's
  } rows[] = {
      {"build --width 4095 --height 16 --seed 1 --yes --freeciv w.sav --text w.txt", "at most 4094 wide", 0},
      {"build --width 4096 --height 20 --seed 1 --yes --count 2 --out o --formats text,freeciv", "at most 4094 wide", 0},
      {"build --width 40 --height 30 --seed 1 --yes --freeciv w.sav --text w.txt" + noLand, "without land", 0},
      {"build --width 40 --height 30 --seed 1 --yes --count 2 --out o --formats text,freeciv" + noLand, "without land", 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments);
    CliFolder folder("lorvex-freeciv");
    const CliRun run = folder.Run(row.arguments);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find(row.told), std::string::npos) << run.err;
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path()))
      if (entry.is_regular_file()) files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, row.worldsInIndex > 0 ? std::vector<std::string>{"index.json"} : std::vector<std::string>{});
    if (row.worldsInIndex == 0) continue;
    const nlohmann::json index = nlohmann::json::parse(ReadFile(folder / "o" / "index.json"));
    ASSERT_EQ(index["worlds"].size(), static_cast<std::size_t>(row.worldsInIndex));
    for (const auto& world : index["worlds"]) {
      EXPECT_NE(std::string(world["error"]).find(row.told), std::string::npos) << world.dump();
      EXPECT_TRUE(world["files"].empty());
    }
  }
}

TEST(FreecivExport, MapsFreecivDoesNotTakeAreRefused) {
  const struct { int width, height; bool fits; } sizes[] = {
      {16, 16, true}, {16, 15, false}, {500, 4096, true}, {4094, 16, true}, {4095, 16, false}, {4096, 16, false}};
  for (const auto& size : sizes) {
    std::string error;
    EXPECT_EQ(FreecivFits(size.width, size.height, error), size.fits) << size.width << " x " << size.height;
    EXPECT_TRUE(size.fits || error.find("at least 16 x 16") != std::string::npos) << error;
  }
}

}  // namespace
}  // namespace lorvex::exporting
