// The land of a Freeciv scenario: which classic-ruleset terrain every square of a world
// becomes, where the River extra lies, and where the players start. The world's own
// Mountains, Rough and Forest stay what they are; its clear land (with the river and city
// squares, whose terrain underneath the world does not keep) takes the biomes of Freeciv's
// own maps by latitude and by smooth fields drawn from the world's seed.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "world/grid.h"

namespace lorvex::exporting {

// The classic ruleset's terrains, each with its one-letter identifier in a savegame.
struct FreecivTerrainName {
  std::string_view name;
  char identifier;
};
inline constexpr std::array<FreecivTerrainName, 12> kFreecivTerrainNames = {{
    {"Ocean", ' '},   {"Deep Ocean", ':'}, {"Glacier", 'a'},   {"Desert", 'd'},
    {"Forest", 'f'},  {"Grassland", 'g'},  {"Hills", 'h'},     {"Jungle", 'j'},
    {"Mountains", 'm'}, {"Plains", 'p'},   {"Swamp", 's'},     {"Tundra", 't'},
}};

// What decides which of the squares open to the climate a biome takes: of the squares
// still open, those that score highest (each score a mix of the square's latitude and of
// the smooth fields of the seed, all between 0 and 1).
enum class ClimateScore {
  kCold,        // nearest a pole (latitude, shifted by the temperature field)
  kHigh,        // the elevation field
  kHotAndDry,   // warm and low in the wetness field
  kHotAndWet,   // warm and high in the wetness field
  kWet,         // the wetness field
  kWooded,      // the woodland field
  kDry,         // low in the wetness field
  kRest,        // every square still open
};

// The biomes in the order they take their squares, each with its share of the land on
// Freeciv 3.0's own maps (its fractal generator, classic rules, 20 % land: two maps of
// 200 x 150 and three of 120 x 80, read back from the games the server saved). A biome's
// squares are first the world's own of that terrain (Mountains, Rough as Hills, Forest);
// the clear land makes up the rest of its share, taken by `score` from the squares whose
// distance from the equator (0 at the equator, 1 at a pole) is at least `minLatitude`.
struct FreecivBiome {
  char identifier;    // of kFreecivTerrainNames
  double landShare;   // per cent of the land
  ClimateScore score;
  double minLatitude;
};
inline constexpr std::array<FreecivBiome, 10> kFreecivBiomes = {{
    // terrain       share  score                      min latitude
    {'a' /*Glacier*/,   6, ClimateScore::kCold,      0.75},
    {'t' /*Tundra*/,    1, ClimateScore::kCold,      0.5},
    {'m' /*Mountains*/, 6, ClimateScore::kHigh,      0},
    {'h' /*Hills*/,    16, ClimateScore::kHigh,      0},
    {'d' /*Desert*/,    8, ClimateScore::kHotAndDry, 0},
    {'j' /*Jungle*/,    4, ClimateScore::kHotAndWet, 0},
    {'s' /*Swamp*/,     7, ClimateScore::kWet,       0},
    {'f' /*Forest*/,   16, ClimateScore::kWooded,    0},
    {'p' /*Plains*/,   18, ClimateScore::kDry,       0},
    {'g' /*Grassland*/, 18, ClimateScore::kRest,     0},
}};

// Glacier only on maps of at least this many rows (Freeciv's own maps of 50 rows have
// none, of 80 rows some), and there the clear land of the polar rows, at least this far
// from the equator, is Glacier or Tundra whatever the shares say.
inline constexpr int kGlacierMinHeight = 60;
inline constexpr double kPolarLatitude = 0.9;

// Open sea becomes Deep Ocean when no land lies within this many squares (in any of the
// eight directions), so that the early ships, which keep off Deep Ocean, can follow coasts.
inline constexpr int kDeepOceanReach = 2;

// Start positions: a player starts on a land mass (land squares joined side or corner, as
// Freeciv's continents) of at least kMinStartMass squares, more than kStartSpacing squares
// from every other start in Freeciv's real distance (the larger of the east-west and the
// north-south steps, the east-west one across the seam of a wrapping map).
inline constexpr int kMinStartMass = 20;
inline constexpr int kStartSpacing = 4;

struct FreecivLand {
  Grid<char> terrain;        // identifiers of kFreecivTerrainNames
  Grid<std::uint8_t> river;  // 1 where the square carries the River extra
};

// The terrain and rivers of every square of `map` (letters of the world map; a letter the
// build never writes becomes '?'). `seed` draws the smooth fields; the same world and seed
// always give the same land.
FreecivLand FreecivLandOf(const Grid<char>& map, bool wrap, std::uint64_t seed);

// Whether a city square keeps the River: a river ran through it when rivers touch it on
// two of its four sides, or on one side with the sea or a border on another (its mouth).
bool CityOnRiver(const Grid<char>& map, bool wrap, int x, int y);

// A smooth field of the seed between 0 and 1 at square (x, y): value noise over lattices of
// 16, 8 and 4 squares, seamless across the east-west seam of a wrapping map. `field` tells
// the fields of one seed apart.
double SmoothField(std::uint64_t seed, int field, int x, int y, int width, bool wrap);

struct StartPosition {
  std::int32_t x, y;
};

struct CityProduction {
  std::int32_t x, y;
  std::int32_t production;
};

// Freeciv's real distance between two squares of a map `width` wide.
int RealDistance(int x1, int y1, int x2, int y2, int width, bool wrap);

// The start positions of `players` players: one at a time on the mass with the most land
// per player already seated there (the largest masses first), each as far from the starts
// chosen before as the land allows up to the spacing that the land of all the masses of
// kMinStartMass squares or more gives a player, a city of the world where one is that far
// (the highest production first), otherwise the square with the most land round it.
// Never on Glacier. A mass that has no square left more than kStartSpacing from every
// start seats no more. Empty when the masses cannot seat them all: the server then places
// the players itself.
std::vector<StartPosition> ChooseStartPositions(const Grid<char>& map, const Grid<char>& terrain,
                                                bool wrap, const std::vector<CityProduction>& cities,
                                                int players);

}  // namespace lorvex::exporting
