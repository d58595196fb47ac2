#include "export/tmx_export.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "common/version.h"
#include "common/atomic_file.h"
#include "export/palette.h"
#include "export/png_file.h"
#include "export/world_export.h"

namespace lorvex {

namespace {

constexpr int kFirstGid = 1;  // the embedded tileset's first global tile id
constexpr int kTerrainLayerId = 1;
constexpr int kCityLayerId = 2;

struct City {
  int x = 0;
  int y = 0;
};

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&apos;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// The city squares in the host's ordinal order: x outer, y inner.
std::vector<City> CitySquares(const Grid<char>& map) {
  std::vector<City> cities;
  for (int x = 0; x < map.Width(); ++x)
    for (int y = 0; y < map.Height(); ++y)
      if (map(x, y) == 'Y') cities.push_back({x, y});
  return cities;
}

void Property(std::string& out, std::string_view indent, std::string_view name,
              std::string_view type, std::string_view value) {
  out += indent;
  out += "<property name=\"";
  out += name;
  out += '"';
  if (!type.empty()) {
    out += " type=\"";
    out += type;
    out += '"';
  }
  out += " value=\"";
  out += XmlEscaped(value);
  out += "\"/>\n";
}

std::string Header(const HostWorld& world, bool wrap, const WorldKey& key,
                   std::size_t cityCount, const std::string& tilesetFile) {
  const int width = world.MapArray.Width();
  const int height = world.MapArray.Height();
  const std::string tile = std::to_string(kTmxTilePixels);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" "
         "renderorder=\"right-down\" width=\"" + std::to_string(width) + "\" height=\"" +
         std::to_string(height) + "\" tilewidth=\"" + tile + "\" tileheight=\"" + tile +
         "\" infinite=\"0\" nextlayerid=\"3\" nextobjectid=\"" +
         std::to_string(cityCount + 1) + "\">\n";
  out += " <properties>\n";
  Property(out, "  ", "generator", "", std::string("Lorvex ") + kVersionText);
  // Tiled's int properties are 32-bit; a 64-bit seed only survives as text.
  Property(out, "  ", "seed", "", std::to_string(key.seed));
  Property(out, "  ", "key", "", FormatWorldKey(key));
  Property(out, "  ", "width", "int", std::to_string(width));
  Property(out, "  ", "height", "int", std::to_string(height));
  Property(out, "  ", "wrap", "bool", wrap ? "true" : "false");
  Property(out, "  ", "cities", "int", std::to_string(cityCount));
  out += " </properties>\n";

  out += " <tileset firstgid=\"" + std::to_string(kFirstGid) +
         "\" name=\"lorvex-terrain\" tilewidth=\"" + tile + "\" tileheight=\"" + tile +
         "\" tilecount=\"" + std::to_string(kPalette.size()) + "\" columns=\"" +
         std::to_string(kPalette.size()) + "\">\n";
  out += "  <image source=\"" + XmlEscaped(tilesetFile) + "\" width=\"" +
         std::to_string(kTmxTilePixels * static_cast<int>(kPalette.size())) +
         "\" height=\"" + tile + "\"/>\n";
  for (std::size_t i = 0; i < kPalette.size(); ++i) {
    out += "  <tile id=\"" + std::to_string(i) + "\">\n   <properties>\n";
    Property(out, "    ", "code", "", std::string(1, kPalette[i].code));
    Property(out, "    ", "name", "", kPalette[i].name);
    out += "   </properties>\n  </tile>\n";
  }
  out += " </tileset>\n";
  return out;
}

bool Put(AtomicFile& file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file.Stream()) == text.size();
}

// The terrain layer, one CSV row per map row, written row by row so that a 4096 x 4096
// map never needs its whole text in memory.
bool PutTerrainLayer(AtomicFile& file, const Grid<char>& map) {
  const int width = map.Width();
  const int height = map.Height();
  if (!Put(file, " <layer id=\"" + std::to_string(kTerrainLayerId) +
                     "\" name=\"terrain\" width=\"" + std::to_string(width) +
                     "\" height=\"" + std::to_string(height) +
                     "\">\n  <data encoding=\"csv\">\n"))
    return false;
  std::string row;
  for (int y = 0; y < height; ++y) {
    row.clear();
    for (int x = 0; x < width; ++x) {
      row += std::to_string(kFirstGid + *PaletteIndex(map(x, y)));
      if (x + 1 < width || y + 1 < height) row += ',';
    }
    row += '\n';
    if (!Put(file, row)) return false;
  }
  return Put(file, "</data>\n </layer>\n");
}

std::string CityLayer(const HostWorld& world, const std::vector<City>& cities) {
  const int cityGid = kFirstGid + *PaletteIndex('Y');
  const std::string tile = std::to_string(kTmxTilePixels);
  std::string out = " <objectgroup id=\"" + std::to_string(kCityLayerId) +
                    "\" name=\"cities\">\n";
  for (std::size_t k = 0; k < cities.size(); ++k) {
    const City& city = cities[k];
    // A tile object's position is its bottom-left corner, in pixels.
    out += "  <object id=\"" + std::to_string(k + 1) + "\" name=\"city " + std::to_string(k) +
           "\" type=\"city\" gid=\"" + std::to_string(cityGid) + "\" x=\"" +
           std::to_string(city.x * kTmxTilePixels) + "\" y=\"" +
           std::to_string((city.y + 1) * kTmxTilePixels) + "\" width=\"" + tile +
           "\" height=\"" + tile + "\">\n   <properties>\n";
    Property(out, "    ", "ordinal", "int", std::to_string(k));
    Property(out, "    ", "x", "int", std::to_string(city.x));
    Property(out, "    ", "y", "int", std::to_string(city.y));
    Property(out, "    ", "production", "int", std::to_string(world.ProdArray[k]));
    Property(out, "    ", "specialty", "int", std::to_string(world.SpecArray[k]));
    Property(out, "    ", "owner", "int", std::to_string(world.OwnerArray[k]));
    out += "   </properties>\n  </object>\n";
  }
  out += " </objectgroup>\n";
  return out;
}

PngImage TilesetPicture() {
  PngImage image;
  image.width = kTmxTilePixels * static_cast<int>(kPalette.size());
  image.height = kTmxTilePixels;
  image.channels = 3;
  image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height * 3);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const Rgb colour = kPalette[static_cast<std::size_t>(x / kTmxTilePixels)].colour;
      image.pixels.insert(image.pixels.end(), {colour.r, colour.g, colour.b});
    }
  return image;
}

}  // namespace

std::string TmxTilesetPath(const std::string& tmxPath) {
  const std::filesystem::path map(tmxPath);
  return (map.parent_path() / (map.stem().string() + "-terrain.png")).string();
}

bool WriteTmx(const HostWorld& world, bool wrap, const WorldKey& key,
              const std::string& tmxPath, std::string& error) {
  try {
    const Grid<char>& map = world.MapArray;
    if (map.Width() < 1 || map.Height() < 1) {
      error = "cannot write " + tmxPath + ": the world has no squares";
      return false;
    }
    if (!exporting::CheckTerrainCodes(map, error)) {
      error = "cannot write " + tmxPath + ": " + error;
      return false;
    }
    const std::vector<City> cities = CitySquares(map);
    if (world.ProdArray.size() < cities.size() || world.SpecArray.size() < cities.size() ||
        world.OwnerArray.size() < cities.size()) {
      error = "cannot write " + tmxPath + ": the world has " + std::to_string(cities.size()) +
              " city squares but " + std::to_string(world.ProdArray.size()) + " production, " +
              std::to_string(world.SpecArray.size()) + " specialty and " +
              std::to_string(world.OwnerArray.size()) + " owner values";
      return false;
    }

    std::error_code ignored;
    if (std::filesystem::is_directory(tmxPath, ignored)) {
      error = "cannot write " + tmxPath + ": it is a folder";
      return false;
    }
    const std::string tilesetPath = TmxTilesetPath(tmxPath);
    const std::string tilesetFile = std::filesystem::path(tilesetPath).filename().string();
    AtomicFile file(tmxPath);
    if (!file.Open(error)) return false;
    const bool written = Put(file, Header(world, wrap, key, cities.size(), tilesetFile)) &&
                         PutTerrainLayer(file, map) && Put(file, CityLayer(world, cities)) &&
                         Put(file, "</map>\n");
    if (!written) {
      // Finish reports the stream's own reason (a full disk, a lost device).
      if (file.Finish(error)) error = "cannot write " + tmxPath + ": write failed";
      return false;
    }
    if (!file.Finish(error)) return false;
    // The picture first: a map is only published once the tileset it names is in place.
    if (!WritePng(TilesetPicture(), tilesetPath, error)) return false;
    return file.Publish(error);
  } catch (const std::exception& e) {
    error = "cannot write " + tmxPath + ": " + e.what();
    return false;
  }
}

}  // namespace lorvex
