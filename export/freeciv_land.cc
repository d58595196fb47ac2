#include "export/freeciv_land.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>

#include "world/world_state.h"

namespace lorvex::exporting {

namespace {

// A 64-bit finaliser (splitmix64's): every input bit reaches every output bit.
std::uint64_t Mix(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// The value of lattice point (i, j) of one octave of one field, between 0 and 1.
double LatticeValue(std::uint64_t seed, int field, int octave, int i, int j) {
  std::uint64_t h = Mix(seed ^ 0x4C6F72766578ull);  // never the build's generator: a hash of its seed
  h = Mix(h ^ (static_cast<std::uint64_t>(field) << 8 | static_cast<std::uint64_t>(octave)));
  h = Mix(h ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(i)) << 32 |
               static_cast<std::uint32_t>(j)));
  return static_cast<double>(h >> 11) * 0x1.0p-53;
}

double Smooth(double t) { return t * t * (3 - 2 * t); }

// Distance from the equator of row y: 0 in the middle of the map, 1 at its top and bottom.
double Latitude(int y, int height) {
  const double half = height / 2.0;
  return std::abs(y + 0.5 - half) / half;
}

// Column x of a map `width` wide, taken round the seam of a wrapping map; as it is (perhaps
// off the map) otherwise.
int Column(int x, int width, bool wrap) { return wrap && width > 0 ? (x % width + width) % width : x; }

// The letter at square (x, y), its column wrapped on a wrapping map; 0 off the map.
char LetterAt(const Grid<char>& map, bool wrap, int x, int y) {
  x = Column(x, map.Width(), wrap);
  return map.Contains(x, y) ? map(x, y) : 0;
}

bool LandAt(const Grid<char>& map, bool wrap, int x, int y) {
  const char code = LetterAt(map, wrap, x, y);
  return code != 0 && IsLand(code);
}

bool LandWithinReach(const Grid<char>& map, bool wrap, int x, int y) {
  for (int dy = -kDeepOceanReach; dy <= kDeepOceanReach; ++dy)
    for (int dx = -kDeepOceanReach; dx <= kDeepOceanReach; ++dx)
      if (LandAt(map, wrap, x + dx, y + dy)) return true;
  return false;
}

// The four fields of the climate, in the order of their field numbers.
enum Field { kTemperature = 0, kWetness = 1, kElevation = 2, kWoodland = 3 };

struct OpenSquare {
  std::uint32_t index;  // y * width + x
  double latitude, temperature, wetness, elevation, woodland;
};

double ScoreOf(const OpenSquare& s, ClimateScore score) {
  switch (score) {
    case ClimateScore::kCold: return 1 - s.temperature;
    case ClimateScore::kHigh: return s.elevation;
    case ClimateScore::kHotAndDry: return (s.temperature + 1 - s.wetness) / 2;
    case ClimateScore::kHotAndWet: return (s.temperature + s.wetness) / 2;
    case ClimateScore::kWet: return s.wetness;
    case ClimateScore::kWooded: return s.woodland;
    case ClimateScore::kDry: return 1 - s.wetness;
    case ClimateScore::kRest: return 0;
  }
  return 0;
}

// The identifier the world's own letter keeps, or 0 for the squares open to the climate.
char OwnTerrain(char code) {
  switch (code) {
    case terrain::kMountains: return 'm';
    case terrain::kRough: return 'h';
    case terrain::kForest: return 'f';
    case terrain::kClear: case terrain::kRiver: case terrain::kCity: return 0;
    default: return '?';
  }
}

}  // namespace

double SmoothField(std::uint64_t seed, int field, int x, int y, int width, bool wrap) {
  double sum = 0, weight = 0, amplitude = 1;
  for (int octave = 0, cell = 16; octave < 3; ++octave, cell /= 2, amplitude /= 2) {
    // A wrapping map's lattice has a whole number of cells round it, so the field meets
    // itself at the seam.
    const int across = wrap ? std::max(1, static_cast<int>(std::lround(static_cast<double>(width) / cell))) : 0;
    const double u = wrap ? (x + 0.5) * across / width : (x + 0.5) / cell;
    const double v = (y + 0.5) / cell;
    int i0 = static_cast<int>(std::floor(u)), j0 = static_cast<int>(std::floor(v));
    const double fu = Smooth(u - i0), fv = Smooth(v - j0);
    int i1 = i0 + 1;
    if (wrap) {
      i0 %= across;
      i1 %= across;
    }
    const double top = LatticeValue(seed, field, octave, i0, j0) * (1 - fu) + LatticeValue(seed, field, octave, i1, j0) * fu;
    const double bottom = LatticeValue(seed, field, octave, i0, j0 + 1) * (1 - fu) + LatticeValue(seed, field, octave, i1, j0 + 1) * fu;
    sum += amplitude * (top * (1 - fv) + bottom * fv);
    weight += amplitude;
  }
  return sum / weight;
}

bool CityOnRiver(const Grid<char>& map, bool wrap, int x, int y) {
  static constexpr int kSides[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
  int rivers = 0, water = 0;
  for (const auto& side : kSides) {
    const char code = LetterAt(map, wrap, x + side[0], y + side[1]);
    rivers += code == terrain::kRiver ? 1 : 0;
    water += IsWater(code) ? 1 : 0;
  }
  return rivers >= 2 || (rivers == 1 && water >= 1);
}

FreecivLand FreecivLandOf(const Grid<char>& map, bool wrap, std::uint64_t seed) {
  const int width = map.Width(), height = map.Height();
  FreecivLand land{Grid<char>(width, height, '?'), Grid<std::uint8_t>(width, height, 0)};
  std::int64_t landSquares = 0;
  std::array<std::int64_t, kFreecivBiomes.size()> own{};
  std::vector<OpenSquare> open;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const char code = map(x, y);
      if (code == terrain::kSea) {
        land.terrain(x, y) = LandWithinReach(map, wrap, x, y) ? ' ' : ':';
        continue;
      }
      if (IsWater(code)) {
        land.terrain(x, y) = ':';  // the border rows and columns
        continue;
      }
      ++landSquares;
      land.river(x, y) = code == terrain::kRiver || (code == terrain::kCity && CityOnRiver(map, wrap, x, y)) ? 1 : 0;
      const char kept = OwnTerrain(code);
      land.terrain(x, y) = kept;
      if (kept != 0) {
        for (std::size_t b = 0; b < kFreecivBiomes.size(); ++b) own[b] += kFreecivBiomes[b].identifier == kept ? 1 : 0;
        continue;
      }
      const double latitude = Latitude(y, height);
      open.push_back({static_cast<std::uint32_t>(y * width + x), latitude,
                      0.8 * (1 - latitude) + 0.2 * SmoothField(seed, kTemperature, x, y, width, wrap),
                      SmoothField(seed, kWetness, x, y, width, wrap),
                      SmoothField(seed, kElevation, x, y, width, wrap),
                      SmoothField(seed, kWoodland, x, y, width, wrap)});
    }

  // Each biome's share of the land, less what the world already has of it; when the clear
  // land cannot give every biome its due, each gets the same part of it.
  const bool glacier = height >= kGlacierMinHeight;
  std::array<double, kFreecivBiomes.size()> due{};
  double dueTotal = 0;
  for (std::size_t b = 0; b < kFreecivBiomes.size(); ++b) {
    const FreecivBiome& biome = kFreecivBiomes[b];
    if (biome.score == ClimateScore::kRest || (biome.identifier == 'a' && !glacier)) continue;
    due[b] = std::max(0.0, biome.landShare / 100 * static_cast<double>(landSquares) - static_cast<double>(own[b]));
    dueTotal += due[b];
  }
  const double scale = dueTotal > static_cast<double>(open.size()) ? static_cast<double>(open.size()) / dueTotal : 1.0;

  Grid<char>& out = land.terrain;
  const auto put = [&](const OpenSquare& s, char identifier) {
    out.Cells()[s.index] = identifier;
  };
  for (std::size_t b = 0; b < kFreecivBiomes.size(); ++b) {
    const FreecivBiome& biome = kFreecivBiomes[b];
    std::vector<OpenSquare> candidates, others;
    for (const OpenSquare& s : open) (s.latitude >= biome.minLatitude ? candidates : others).push_back(s);
    std::size_t take = biome.score == ClimateScore::kRest
                           ? candidates.size()
                           : static_cast<std::size_t>(std::llround(due[b] * scale));
    take = std::min(take, candidates.size());
    // The highest scores first; equal scores in map order, so one world gives one scenario.
    const auto higher = [&](const OpenSquare& a, const OpenSquare& c) {
      const double sa = ScoreOf(a, biome.score), sc = ScoreOf(c, biome.score);
      return sa != sc ? sa > sc : a.index < c.index;
    };
    if (take < candidates.size())
      std::nth_element(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(take), candidates.end(), higher);
    for (std::size_t k = 0; k < take; ++k) put(candidates[k], biome.identifier);
    others.insert(others.end(), candidates.begin() + static_cast<std::ptrdiff_t>(take), candidates.end());
    open.clear();
    // The polar rows of a map tall enough for Glacier are Glacier or Tundra: once Tundra
    // has had its share, the rest of them are Tundra too.
    for (const OpenSquare& s : others) {
      if (glacier && biome.identifier == 't' && s.latitude >= kPolarLatitude) put(s, 't');
      else open.push_back(s);
    }
  }
  return land;
}

int RealDistance(int x1, int y1, int x2, int y2, int width, bool wrap) {
  int dx = std::abs(x1 - x2);
  if (wrap) dx = std::min(dx, width - dx);
  return std::max(dx, std::abs(y1 - y2));
}

std::vector<StartPosition> ChooseStartPositions(const Grid<char>& map, const Grid<char>& terrain,
                                                bool wrap, const std::vector<CityProduction>& cities,
                                                int players) {
  const int width = map.Width(), height = map.Height();
  if (players <= 0 || width <= 0 || height <= 0) return {};
  // The masses: land joined by a side or a corner, across the seam of a wrapping map.
  Grid<std::int32_t> massOf(width, height, -1);
  std::vector<std::vector<std::uint32_t>> masses;
  std::vector<std::uint32_t> stack;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!IsLand(map(x, y)) || massOf(x, y) >= 0) continue;
      const auto mass = static_cast<std::int32_t>(masses.size());
      masses.emplace_back();
      massOf(x, y) = mass;
      stack.assign(1, static_cast<std::uint32_t>(y * width + x));
      while (!stack.empty()) {
        const std::uint32_t at = stack.back();
        stack.pop_back();
        masses.back().push_back(at);
        const int ax = static_cast<int>(at % static_cast<std::uint32_t>(width));
        const int ay = static_cast<int>(at / static_cast<std::uint32_t>(width));
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = Column(ax + dx, width, wrap), ny = ay + dy;
            if (!LandAt(map, false, nx, ny) || massOf(nx, ny) >= 0) continue;
            massOf(nx, ny) = mass;
            stack.push_back(static_cast<std::uint32_t>(ny * width + nx));
          }
      }
      std::sort(masses.back().begin(), masses.back().end());  // map order, for the ties below
    }
  std::vector<std::size_t> seatable;  // the masses of kMinStartMass squares or more
  std::int64_t seatableLand = 0;
  for (std::size_t m = 0; m < masses.size(); ++m)
    if (masses[m].size() >= static_cast<std::size_t>(kMinStartMass)) {
      seatable.push_back(m);
      seatableLand += static_cast<std::int64_t>(masses[m].size());
    }
  // Far enough: the side of the square of land each player would have to himself.
  const int enough = std::max(kStartSpacing + 1, static_cast<int>(std::sqrt(static_cast<double>(seatableLand) / players)));

  Grid<std::int32_t> production(width, height, INT_MIN);
  for (const CityProduction& city : cities)
    if (production.Contains(city.x, city.y)) production(city.x, city.y) = city.production;
  // Land within two squares (a start with more land round it has more to work), and the
  // distance to the nearest start chosen so far, for the squares of the seatable masses.
  Grid<std::int32_t> around(width, height, 0), nearest(width, height, INT_MAX);
  for (std::size_t m : seatable)
    for (std::uint32_t at : masses[m]) {
      const int x = static_cast<int>(at % static_cast<std::uint32_t>(width));
      const int y = static_cast<int>(at / static_cast<std::uint32_t>(width));
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) around(x, y) += LandAt(map, wrap, x + dx, y + dy) ? 1 : 0;
    }

  std::vector<StartPosition> starts;
  std::vector<int> seated(masses.size(), 0);
  std::vector<bool> full(masses.size(), false);
  while (static_cast<int>(starts.size()) < players) {
    // The mass with the most land per player once one more sits there.
    std::size_t best = masses.size();
    for (std::size_t m : seatable)
      if (!full[m] && (best == masses.size() ||
                       masses[m].size() * static_cast<std::size_t>(seated[best] + 1) >
                           masses[best].size() * static_cast<std::size_t>(seated[m] + 1)))
        best = m;
    if (best == masses.size()) return {};  // the land cannot seat them all
    // Its square farthest from every start (up to `enough`), a city before other land,
    // then the higher production, then more land round it, then map order.
    std::tuple<int, int, int, int> bestKey{-1, 0, 0, 0};
    std::uint32_t bestSquare = 0;
    for (std::uint32_t at : masses[best]) {
      const int x = static_cast<int>(at % static_cast<std::uint32_t>(width));
      const int y = static_cast<int>(at / static_cast<std::uint32_t>(width));
      if (terrain(x, y) == 'a') continue;
      if (nearest(x, y) <= kStartSpacing) continue;
      const bool city = production(x, y) != INT_MIN;
      const std::tuple<int, int, int, int> key{std::min(nearest(x, y), enough), city ? 1 : 0,
                                               city ? production(x, y) : INT_MIN, around(x, y)};
      if (key > bestKey) {
        bestKey = key;
        bestSquare = at;
      }
    }
    if (std::get<0>(bestKey) < 0) {
      full[best] = true;
      continue;
    }
    const StartPosition start{static_cast<std::int32_t>(bestSquare % static_cast<std::uint32_t>(width)),
                              static_cast<std::int32_t>(bestSquare / static_cast<std::uint32_t>(width))};
    starts.push_back(start);
    ++seated[best];
    for (std::size_t m : seatable)
      for (std::uint32_t at : masses[m]) {
        const int x = static_cast<int>(at % static_cast<std::uint32_t>(width));
        const int y = static_cast<int>(at / static_cast<std::uint32_t>(width));
        nearest(x, y) = std::min(nearest(x, y), RealDistance(x, y, start.x, start.y, width, wrap));
      }
  }
  return starts;
}

}  // namespace lorvex::exporting
