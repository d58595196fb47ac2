// The Tiled map of a finished world: an orthogonal map of one 16-pixel tile per square,
// a CSV tile layer "terrain" (row-major, tile ids in palette order), an object layer
// "cities" with one tile object per city in the host's column-major ordinal order, and map
// properties for the seed and key, the size and the wrap flag. The tileset is embedded in the map;
// its picture is a PNG of the terrain colours written beside the map.
#pragma once

#include <cstdint>
#include <string>

#include "common/world_key.h"
#include "engine/host_world.h"

namespace lorvex {

// Pixels of one square in the map and its tileset.
inline constexpr int kTmxTilePixels = 16;

// The tileset picture written beside tmxPath: "world.tmx" -> "world-terrain.png".
std::string TmxTilesetPath(const std::string& tmxPath);

// Writes the map to tmxPath and its tileset picture beside it. On failure answers false
// with a message naming the file and the reason in `error`, and leaves any existing map
// untouched and no partial file behind. A world with a terrain letter outside the palette
// or with city values that do not match its city squares is refused.
bool WriteTmx(const HostWorld& world, bool wrap, const WorldKey& key,
              const std::string& tmxPath, std::string& error);

}  // namespace lorvex
