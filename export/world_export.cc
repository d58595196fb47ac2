#include "export/world_export.h"

#include "common/world_key.h"
#include "export/png_writer.h"
#include "world/code_bits.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

namespace lorvex::exporting {

Rgb ColourOf(char code) {
  const std::optional<int> index = PaletteIndex(code);
  return index ? kPalette[static_cast<std::size_t>(*index)].colour : kUnknownColour;
}

bool CheckTerrainCodes(const Grid<char>& map, std::string& error) {
  for (int y = 0; y < map.Height(); ++y)
    for (int x = 0; x < map.Width(); ++x) {
      const char code = map(x, y);
      if (PaletteIndex(code)) continue;
      error = "square (" + std::to_string(x) + ", " + std::to_string(y) +
              ") has the unknown terrain code " +
              (code >= ' ' && code <= '~' ? std::string("'") + code + "'"
                                          : "byte " + std::to_string(static_cast<unsigned char>(code)));
      return false;
    }
  return true;
}

std::string WorldText(const HostWorld& world) {
  const Grid<char>& map = world.MapArray;
  std::string text;
  text.reserve(static_cast<std::size_t>(map.Width() + 1) * static_cast<std::size_t>(map.Height()));
  for (int y = 0; y < map.Height(); ++y) {
    if (map.Width() > 0) text.append(&map(0, y), static_cast<std::size_t>(map.Width()));
    text += '\n';
  }
  return text;
}

WorldSummary Summarize(const HostWorld& world) {
  WorldSummary summary;
  const std::vector<char>& codes = world.MapArray.Cells();
  const auto squares = static_cast<std::int32_t>(codes.size());
  // Eight squares at a time, the rest one by one.
  std::int32_t k = 0;
  for (; k + 8 <= squares; k += 8)
    summary.land += CountBits(LandBits8(EightCodes(codes.data() + k)));
  for (; k < squares; ++k) summary.land += IsLand(codes[static_cast<std::size_t>(k)]) ? 1 : 0;
  for (const LandMass& mass : world.Masses) {
    if (mass.squares <= 0) continue;
    switch (mass.sizeClass) {
      case kLarge: ++summary.large; break;
      case kMedium: ++summary.medium; break;
      case kSmall: ++summary.small; break;
      case kTinyIslands: summary.tinyIslandSquares += mass.squares; break;
      default: break;
    }
  }
  summary.cities = world.CityCount;
  return summary;
}

std::vector<CityAt> CitySquares(const HostWorld& world) {
  std::vector<CityAt> cities;
  const Grid<char>& map = world.MapArray;
  for (int x = 0; x < map.Width(); ++x)
    for (int y = 0; y < map.Height(); ++y)
      if (map(x, y) == terrain::kCity) cities.push_back({x, y});
  return cities;
}

std::string WorldJson(const HostWorld& world, const WorldInfo& info) {
  using nlohmann::json;
  const Grid<char>& map = world.MapArray;
  json doc;
  doc["width"] = map.Width();
  doc["height"] = map.Height();
  doc["wrap"] = info.wrap;
  doc["seed"] = info.seed;
  doc["key"] = FormatWorldKey({info.seed, info.draws});
  json rows = json::array();
  for (int y = 0; y < map.Height(); ++y) {
    std::string row;
    for (int x = 0; x < map.Width(); ++x) row += map(x, y);
    rows.push_back(row);
  }
  doc["terrain"] = std::move(rows);
  json masses = json::array();
  for (const LandMass& mass : world.Masses)
    masses.push_back({{"sizeClass", mass.sizeClass}, {"squares", mass.squares}});
  doc["masses"] = std::move(masses);
  json cities = json::array();
  const std::vector<CityAt> squares = CitySquares(world);
  const std::size_t listed = std::min({squares.size(), world.ProdArray.size(),
                                       world.SpecArray.size(), world.OwnerArray.size()});
  for (std::size_t k = 0; k < listed; ++k)
    cities.push_back({{"x", squares[k].x},
                      {"y", squares[k].y},
                      {"production", world.ProdArray[k]},
                      {"specialty", world.SpecArray[k]},
                      {"owner", world.OwnerArray[k]}});
  doc["cities"] = std::move(cities);
  return doc.dump(1) + "\n";
}

bool WriteWorldPng(const HostWorld& world, int scale, std::FILE* out, std::string& error) {
  const Grid<char>& map = world.MapArray;
  if (scale < 1) {
    error = "the scale must be 1 pixel or more";
    return false;
  }
  if (map.Width() < 1 || map.Height() < 1) {
    error = "the world has no squares";
    return false;
  }
  const long long width = static_cast<long long>(map.Width()) * scale;
  const long long height = static_cast<long long>(map.Height()) * scale;
  if (width > kMaxPngSide || height > kMaxPngSide) {
    error = "the picture would be larger than " + std::to_string(kMaxPngSide) + " pixels a side";
    return false;
  }
  // Pixel row y belongs to map row y / scale; a city square is outlined when its block is
  // at least 3 pixels wide.
  const auto fillRow = [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
    const int mapY = static_cast<int>(y) / scale, py = static_cast<int>(y) % scale;
    std::size_t at = 0;
    for (int x = 0; x < map.Width(); ++x) {
      const char code = map(x, mapY);
      const Rgb fill = ColourOf(code);
      const bool outlined = code == terrain::kCity && scale >= 3;
      for (int px = 0; px < scale; ++px) {
        const bool edge = px == 0 || py == 0 || px == scale - 1 || py == scale - 1;
        const Rgb c = outlined && edge ? kCityOutline : fill;
        row[at++] = c.r;
        row[at++] = c.g;
        row[at++] = c.b;
      }
    }
  };
  return WriteRgbPng(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                     fillRow, out, error);
}

}  // namespace lorvex::exporting
