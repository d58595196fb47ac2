// Writers of a finished world as the host holds it: the text map, a PNG picture and a JSON
// document. They read a const world and never change it. Squares are (x, y), x the column
// from the west, y the row from the top; cities are listed in the host's order (a
// column-major scan of the map).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "export/palette.h"
#include "engine/host_world.h"

namespace lorvex::exporting {

// A Freeciv server's usual game with the classic rules: its aifill setting fills the game
// up to five players.
inline constexpr int kFreecivDefaultPlayers = 5;

// What the writers say about a world beyond its squares and cities.
struct WorldInfo {
  bool wrap = false;
  std::uint64_t seed = 0;
  std::uint64_t draws = 0;  // with the seed, the world's key (common/world_key.h)
  int freecivPlayers = kFreecivDefaultPlayers;  // the players a Freeciv scenario seats
};

inline constexpr Rgb kUnknownColour{255, 0, 255};
inline constexpr Rgb kCityOutline{40, 20, 20};

// The palette colour of a terrain letter (kUnknownColour for a letter the build never writes).
Rgb ColourOf(char code);

// Every square must carry a letter the build writes (one of kPalette); otherwise answers
// false with "square (x, y) has the unknown terrain code 'q'".
bool CheckTerrainCodes(const Grid<char>& map, std::string& error);

// One line per row from y = 0, one letter per square, each line ending in "\n".
std::string WorldText(const HostWorld& world);

// {"width", "height", "wrap", "seed", "key", "terrain": [rows], "masses": [{"sizeClass",
// "squares"}], "cities": [{"x", "y", "production", "specialty", "owner"}]}
std::string WorldJson(const HostWorld& world, const WorldInfo& info);

// Each square a block of scale x scale pixels; a city square is outlined when the block is
// at least 3 pixels wide. Answers false with a reason when the picture cannot be written
// (a scale below 1, or a picture wider or higher than 65535 pixels).
bool WriteWorldPng(const HostWorld& world, int scale, std::FILE* out, std::string& error);

// What a world holds, in the figures the command line's summary and a batch's index give.
struct WorldSummary {
  std::int64_t land = 0;             // land squares (every letter but T, B, A and S)
  std::int32_t large = 0;            // land masses placed with at least one square, by class
  std::int32_t medium = 0;
  std::int32_t small = 0;
  std::int32_t tinyIslandSquares = 0;  // the tiny islands' land squares, all together
  std::int32_t cities = 0;           // cities on the map
};
WorldSummary Summarize(const HostWorld& world);

// The city squares in the host's order.
struct CityAt {
  std::int32_t x, y;
};
std::vector<CityAt> CitySquares(const HostWorld& world);

}  // namespace lorvex::exporting
