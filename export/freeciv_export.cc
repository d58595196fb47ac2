#include "export/freeciv_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "common/error_text.h"
#include "common/version.h"
#include "common/world_key.h"

namespace lorvex::exporting {

namespace {

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
  for (const FreecivTerrainName& known : kFreecivTerrainNames)
    text += "\"" + std::string(known.name) + "\",\"" + known.identifier + "\"\n";
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

std::vector<CityProduction> FreecivCities(const HostWorld& world) {
  const std::vector<CityAt> squares = CitySquares(world);
  std::vector<CityProduction> cities;
  for (std::size_t k = 0; k < squares.size(); ++k)
    cities.push_back({squares[k].x, squares[k].y, k < world.ProdArray.size() ? world.ProdArray[k] : 0});
  return cities;
}

bool FreecivPlayable(const HostWorld& world, std::string& error) {
  for (char code : world.MapArray.Cells())
    if (IsLand(code)) return true;
  error = "Freeciv cannot play a world without land (it finds no square to start a player on)";
  return false;
}

bool FreecivFits(int width, int height, std::string& error) {
  const std::int64_t squares = std::int64_t{width} * height;
  if (width >= kFreecivMinSide && height >= kFreecivMinSide && squares <= kFreecivMaxSquares &&
      width <= kFreecivMaxWidth)
    return true;
  error = "Freeciv takes maps of at least " + std::to_string(kFreecivMinSide) + " x " +
          std::to_string(kFreecivMinSide) + " squares and at most " +
          std::to_string(kFreecivMaxSquares) + " squares in all, at most " +
          std::to_string(kFreecivMaxWidth) + " wide; this world is " +
          std::to_string(width) + " x " + std::to_string(height);
  return false;
}

bool WriteFreecivScenario(const HostWorld& world, const WorldInfo& info, std::FILE* out,
                          std::string& error) {
  const Grid<char>& map = world.MapArray;
  if (!FreecivFits(map.Width(), map.Height(), error)) return false;
  if (!CheckTerrainCodes(map, error) || !FreecivPlayable(world, error)) return false;
  const FreecivLand land = FreecivLandOf(map, info.wrap, info.seed);
  const std::vector<StartPosition> starts = ChooseStartPositions(
      map, land.terrain, info.wrap, FreecivCities(world), std::clamp(info.freecivPlayers, 0, kFreecivMaxPlayers));

  if (!Put(out, Header(map.Width(), map.Height(), info), error)) return false;
  // Terrain rows first, then the extras rows: one hexadecimal digit a square whose bit 0
  // is the first extra of the list, the River.
  std::string line;
  for (int y = 0; y < map.Height(); ++y) {
    line = RowKey("t", y) + "=\"";
    for (int x = 0; x < map.Width(); ++x) line += land.terrain(x, y);
    if (!Put(out, line + "\"\n", error)) return false;
  }
  for (int y = 0; y < map.Height(); ++y) {
    line = RowKey("e00_", y) + "=\"";
    for (int x = 0; x < map.Width(); ++x) line += land.river(x, y) != 0 ? '1' : '0';
    if (!Put(out, line + "\"\n", error)) return false;
  }

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
