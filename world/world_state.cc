#include "world/world_state.h"

namespace lorvex {

void WorldState::SetMapSize(std::int32_t width, std::int32_t height, bool wrap) {
  MapWidth = width;
  MapHeight = height;
  MapWrap = wrap;
  SquareCount = width > 0 && height > 0 ? width * height : 0;
}

void WorldState::CreateInitialMap() {
  WorldMap.Reset(MapWidth, MapHeight, terrain::kSea);
  CityOfSquare.Reset(MapWidth, MapHeight, -1);
  MassOfSquare.Reset(MapWidth, MapHeight, -1);
  MassTable.clear();
  CityProduction.clear();
  CitySpecialty.clear();
  CityOwner.clear();
  if (MapWidth <= 0 || MapHeight <= 0) return;
  const std::int32_t last = MapHeight - 1;
  if (MapWrap) {
    for (std::int32_t x = 0; x < MapWidth; ++x) WorldMap(x, 0) = terrain::kTopBorder;
    for (std::int32_t x = 0; x < MapWidth; ++x) WorldMap(x, last) = terrain::kBottomBorder;
  } else {
    for (std::int32_t x = 0; x < MapWidth; ++x) {
      WorldMap(x, 0) = terrain::kAllBorder;
      WorldMap(x, last) = terrain::kAllBorder;
    }
    for (std::int32_t y = 0; y < MapHeight; ++y) {
      WorldMap(0, y) = terrain::kAllBorder;
      WorldMap(MapWidth - 1, y) = terrain::kAllBorder;
    }
  }
}

}  // namespace lorvex
