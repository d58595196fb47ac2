#include "export/freeciv_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "common/error_text.h"
#include "common/version.h"
#include "common/world_key.h"

namespace lorvex::exporting {

namespace {

// The one-letter identifiers of the terrains in the map rows, as the classic ruleset gives
// them; the scenario lists them in its own table, so the server reads them by name.
struct Identifier {
  std::string_view terrain;
  char letter;
};
constexpr Identifier kIdentifiers[] = {
    {"Ocean", ' '}, {"Deep Ocean", ':'}, {"Grassland", 'g'}, {"Plains", 'p'},
    {"Hills", 'h'}, {"Mountains", 'm'},  {"Forest", 'f'},
};
constexpr std::string_view kDeepOcean = "Deep Ocean";
constexpr std::string_view kPlains = "Plains";

char IdentifierOf(std::string_view terrain) {
  for (const Identifier& known : kIdentifiers)
    if (known.terrain == terrain) return known.letter;
  return '?';  // every terrain of kFreecivTerrain and its rules is listed above
}

const FreecivTerrain* RowOf(char code) {
  for (const FreecivTerrain& row : kFreecivTerrain)
    if (row.code == code) return &row;
  return nullptr;
}

bool LandWithinReach(const Grid<char>& map, bool wrap, int x, int y) {
  const int width = map.Width();
  for (int dy = -kDeepOceanReach; dy <= kDeepOceanReach; ++dy) {
    const int ny = y + dy;
    if (ny < 0 || ny >= map.Height()) continue;
    for (int dx = -kDeepOceanReach; dx <= kDeepOceanReach; ++dx) {
      int nx = x + dx;
      if (wrap) nx = ((nx % width) + width) % width;
      if (nx >= 0 && nx < width && IsLand(map(nx, ny))) return true;
    }
  }
  return false;
}

// A fixed mix of the square's coordinates: the same square always gives the same answer,
// and neighbouring squares answer independently of each other.
bool PlainsAt(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return ((h >> 7) & 1u) != 0;
}

// The savegame sections before the map: what the server checks before it reads a map, the
// settings that keep the map as it is, and no players.
std::string Header(int width, int height, const WorldInfo& info) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  const std::string seed = FormatWorldKey({info.seed, info.draws});
  std::string text =
      "[scenario]\n"
      "game_version=3000000\n"
      "is_scenario=TRUE\n"
      "name=\"Lorvex world " + size + ", seed " + seed + "\"\n"
      "description=\"A world of " + size + " squares" +
      (info.wrap ? ", wrapping east-west," : "") + " built by Lorvex " + kVersionText +
      " from seed " + seed + ".\"\n"
      "players=FALSE\n"
      "\n"
      "[savefile]\n"
      "options=\" +version3\"\n"
      "version=40\n"
      "rulesetdir=\"classic\"\n"
      // The server refuses an empty list of actions, though a map without units uses none.
      "action_size=1\n"
      "action_vector=\"Found City\"\n"
      "action_decision_size=3\n"
      "action_decision_vector=\"nothing\",\"passive\",\"active\"\n"
      "extras_size=1\n"
      "extras_vector=\"River\"\n"
      "terrident={\"name\",\"identifier\"\n";
  for (const Identifier& known : kIdentifiers)
    text += "\"" + std::string(known.terrain) + "\",\"" + known.letter + "\"\n";
  const std::string topology = info.wrap ? "\"WRAPX\"" : "\"\"";
  text +=
      "}\n"
      "\n"
      "[game]\n"
      "phase_mode=\"Concurrent\"\n"
      "phase_mode_stored=\"Concurrent\"\n"
      "year=-4000\n"
      "save_players=FALSE\n"
      "\n"
      "[settings]\n"
      // The server restores the settings in this order. The topology goes first, so that
      // nothing after it is judged by the server's default topology, an isometric one that
      // takes only even heights.
      "set={\"name\",\"value\",\"gamestart\"\n"
      "\"topology\"," + topology + "," + topology + "\n"
      "\"generator\",\"SCENARIO\",\"SCENARIO\"\n"
      "\"xsize\"," + std::to_string(width) + "," + std::to_string(width) + "\n"
      "\"ysize\"," + std::to_string(height) + "," + std::to_string(height) + "\n"
      "}\n"
      "set_count=4\n"
      "\n"
      "[map]\n"
      // The world has neither huts nor resources: the server scatters its own when the game
      // starts, as on a map of its own making. Neither changes a square's terrain.
      "have_huts=FALSE\n"
      "have_resources=FALSE\n";
  return text;
}

bool Put(std::FILE* out, const std::string& text, std::string& error) {
  if (std::fwrite(text.data(), 1, text.size(), out) == text.size()) return true;
  error = ErrorText(errno);
  return false;
}

// "t0007" for the terrain rows, "e00_0007" for the extras.
std::string RowKey(const char* prefix, int y) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", y);
  return prefix + std::string(digits);
}

}  // namespace

std::optional<FreecivSquare> FreecivSquareAt(const Grid<char>& map, bool wrap, int x, int y) {
  const FreecivTerrain* row = RowOf(map(x, y));
  if (row == nullptr) return std::nullopt;
  FreecivSquare square{row->terrain, row->river};
  if (row->rule == FreecivRule::kDeepAwayFromLand && !LandWithinReach(map, wrap, x, y))
    square.terrain = kDeepOcean;
  else if (row->rule == FreecivRule::kGrassOrPlains && PlainsAt(x, y))
    square.terrain = kPlains;
  return square;
}

std::vector<StartPosition> FreecivStartPositions(const HostWorld& world) {
  const std::vector<CityAt> cities = CitySquares(world);
  std::vector<std::size_t> order;
  for (std::size_t k = 0; k < cities.size() && k < world.ProdArray.size(); ++k) order.push_back(k);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return world.ProdArray[a] > world.ProdArray[b];
  });
  order.resize(std::min(order.size(), static_cast<std::size_t>(kFreecivMaxStartPositions)));
  std::vector<StartPosition> positions;
  for (std::size_t k : order) positions.push_back({cities[k].x, cities[k].y});
  return positions;
}

bool FreecivFits(int width, int height, std::string& error) {
  const std::int64_t squares = std::int64_t{width} * height;
  if (width >= kFreecivMinSide && height >= kFreecivMinSide && squares <= kFreecivMaxSquares)
    return true;
  error = "Freeciv takes maps of at least " + std::to_string(kFreecivMinSide) + " x " +
          std::to_string(kFreecivMinSide) + " squares and at most " +
          std::to_string(kFreecivMaxSquares) + " squares in all; this world is " +
          std::to_string(width) + " x " + std::to_string(height);
  return false;
}

bool WriteFreecivScenario(const HostWorld& world, const WorldInfo& info, std::FILE* out,
                          std::string& error) {
  const Grid<char>& map = world.MapArray;
  if (!FreecivFits(map.Width(), map.Height(), error)) return false;
  // kFreecivTerrain has a row for every letter the build writes.
  if (!CheckTerrainCodes(map, error)) return false;

  if (!Put(out, Header(map.Width(), map.Height(), info), error)) return false;
  // Terrain rows first, then the extras rows: one hexadecimal digit a square whose bit 0
  // is the first extra of the list, the River.
  std::string line;
  for (int y = 0; y < map.Height(); ++y) {
    line = RowKey("t", y) + "=\"";
    for (int x = 0; x < map.Width(); ++x)
      line += IdentifierOf(FreecivSquareAt(map, info.wrap, x, y)->terrain);
    if (!Put(out, line + "\"\n", error)) return false;
  }
  for (int y = 0; y < map.Height(); ++y) {
    line = RowKey("e00_", y) + "=\"";
    for (int x = 0; x < map.Width(); ++x) line += RowOf(map(x, y))->river ? '1' : '0';
    if (!Put(out, line + "\"\n", error)) return false;
  }

  const std::vector<StartPosition> starts = FreecivStartPositions(world);
  std::string positions = "startpos_count=" + std::to_string(starts.size()) + "\n";
  if (!starts.empty()) {
    positions += "startpos={\"x\",\"y\",\"exclude\",\"nations\"\n";
    for (const StartPosition& start : starts)
      positions += std::to_string(start.x) + "," + std::to_string(start.y) + ",FALSE,\"\"\n";
    positions += "}\n";
  }
  return Put(out, positions, error);
}

}  // namespace lorvex::exporting
