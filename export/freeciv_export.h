// A finished world as a Freeciv 3.0 scenario for the classic ruleset: the map's size and
// east-west wrap, every square's terrain and river (freeciv_land.h), and start positions
// for the players of a game; no players yet, and the generator set to keep the map. A
// Freeciv server loads it with `freeciv-server -f FILE`. Squares are (x, y), x the column
// from the west, y the row from the top, as in Freeciv's own maps.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/host_world.h"
#include "export/freeciv_land.h"
#include "export/world_export.h"
#include "world/world_state.h"

namespace lorvex::exporting {

// The sizes a Freeciv 3.0 server takes: its xsize and ysize settings start at 16, and
// their product may not pass 2 048 000 tiles.
inline constexpr int kFreecivMinSide = 16;
inline constexpr std::int64_t kFreecivMaxSquares = 2048000;

// A game has at most 150 players, so a scenario offers no more start positions.
inline constexpr int kFreecivMaxPlayers = 150;

// The widest scenario the server plays: one 4095 squares wide or wider crashes it as it
// loads (4094 loads).
inline constexpr int kFreecivMaxWidth = 4094;

// Whether a Freeciv server takes a map of width x height; the reason when not.
bool FreecivFits(int width, int height, std::string& error);

// Whether a Freeciv server can play the world: not one without land, where it finds no
// square to start a player on. The reason when not.
bool FreecivPlayable(const HostWorld& world, std::string& error);

// The cities of the world with their production, in the host's order.
std::vector<CityProduction> FreecivCities(const HostWorld& world);

// Writes the scenario to `out`: the land of FreecivLandOf (from info.seed) and the start
// positions of ChooseStartPositions for info.freecivPlayers players. Refuses a map Freeciv
// does not take or cannot play and a terrain letter the build never writes, with the
// reason in `error`, before it writes anything.
bool WriteFreecivScenario(const HostWorld& world, const WorldInfo& info, std::FILE* out,
                          std::string& error);

}  // namespace lorvex::exporting
