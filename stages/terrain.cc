#include "stages/terrain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "common/numbers.h"
#include "world/code_bits.h"

namespace lorvex::stages {

namespace {

constexpr float kMostTerrainShare = 0.75f;
constexpr double kShareScale = 0.9;
constexpr int kMostRevisits = 15;  // a range ends after crossing its own mountains 15 times
constexpr int kWindowReach = 8;    // the 17 x 17 land window
// A search that has at least one clear square to find hits it with a chance of 1 in
// SquareCount or better per draw, so this many draws per square fail with a chance below
// e^-64; the bound only guards against a count that disagrees with the map.
constexpr std::int64_t kStartDrawsPerSquare = 64;
// A growth origin has a clear neighbour among the four directions, so each draw finds it
// with a chance of 1 in 4; the bound only keeps a fault from turning into a hang.
constexpr int kMostGrowDraws = 4096;
// The stage never yields: it looks for a stop asked from another thread at the first draw of
// every start search (so at every cluster and river), and once in so many draws or river
// squares (a mask: 65536).
constexpr std::int64_t kDrawsBetweenStopPoints = 0xFFFF;

constexpr std::string_view kNoAttractors = "";
constexpr std::string_view kRoughAttractors = "M";
constexpr std::string_view kForestAttractors = "MG";
constexpr std::string_view kRiverAttractors = "MGF";

using Square = TerrainLog::Square;
using DirectionTable = std::array<bool, 4>;

int Opposite(int direction) { return direction ^ 1; }  // 0 <-> 1, 2 <-> 3

bool AllMarked(const DirectionTable& table) { return table[0] && table[1] && table[2] && table[3]; }

// x brought into the map by the rule of the square tests; false when it falls outside a
// flat map.
bool ColumnInMap(const WorldState& world, std::int32_t& x) {
  if (x >= 0 && x < world.MapWidth) return true;
  if (!world.MapWrap || world.MapWidth <= 0) return false;
  x %= world.MapWidth;
  if (x < 0) x += world.MapWidth;
  return true;
}

// The code of a square passed to the square tests, or 0 outside the map.
char CodeAt(const WorldState& world, std::int32_t x, std::int32_t y) {
  if (y < 0 || y >= world.MapHeight || !ColumnInMap(world, x)) return 0;
  return world.WorldMap(x, y);
}

// Side steps of the four directions this stage uses: 0 north, 1 south, 2 west, 3 east.
constexpr std::int32_t kSideX[4] = {0, 0, -1, 1};
constexpr std::int32_t kSideY[4] = {-1, 1, 0, 0};

// The neighbour one step away in direction 0 .. 3 from a square of the map: x always wraps
// (as StepX), y is not checked here (as StepY).
inline Square Step(const WorldState& world, Square from, int direction) {
  return {world.WrapX(from.x + kSideX[direction]), from.y + kSideY[direction]};
}

// One pass-spanning run of the stage: the land count, the clear squares left, and the
// passes that share the start-square search and the cluster size.
class TerrainStage {
 public:
  TerrainStage(BuildContext& context, TerrainLog* log)
      : context_(context), world_(context.world), random_(context.random), log_(log),
        window_(context.world) {}

  void Run(TerrainFractions fractions) {
    if (context_.StopPoint()) return;  // after the land window's count of the map
    const std::int64_t land = window_.LandSquares();
    clear_ = window_.ClearSquares();
    fractions = CapTerrainFractions(fractions);
    // Each share is the fraction of the land counted once, before the first pass.
    const auto share = [&](float fraction) {
      return static_cast<double>(fraction) * static_cast<double>(land);
    };

    context_.hooks.ShowStatus("Terrain", "Mountain");
    PlaceMountains(share(fractions.mountains));
    context_.AdvanceProgress(2);
    context_.hooks.ShowStatus("Terrain", "Rough");
    PlaceGrowth(terrain::kRough, kRoughAttractors, share(fractions.rough));
    context_.AdvanceProgress(2);
    context_.hooks.ShowStatus("Terrain", "Forest");
    PlaceGrowth(terrain::kForest, kForestAttractors, share(fractions.forest));
    context_.AdvanceProgress(2);
    context_.hooks.ShowStatus("Terrain", "Rivers");
    PlaceRivers(share(fractions.rivers));
    context_.AdvanceProgress(2);
  }

 private:
  // The draws below are never negative, so converting them is taking their floor.
  int DrawDirection() { return static_cast<int>(4 * random_.Next()); }

  char Code(Square at) const { return world_.WorldMap(at.x, at.y); }

  // Every write of the stage goes through here, so the count of clear squares stays exact.
  void Write(Square at, char code) {
    char& square = world_.WorldMap(at.x, at.y);
    if (square == terrain::kClear) --clear_;
    square = code;
  }

  // Draws squares until one is clear, or is an attractor with a clear neighbour in a
  // direction drawn at random. False when there is no clear square left to find.
  bool FindStart(std::string_view attractors, Square& start) {
    if (clear_ <= 0) return false;
    const std::int64_t squares = static_cast<std::int64_t>(world_.MapWidth) * world_.MapHeight;
    const std::int64_t mostDraws = kStartDrawsPerSquare * squares;
    for (std::int64_t draw = 0; draw < mostDraws; ++draw) {
      if ((draw & kDrawsBetweenStopPoints) == 0 && context_.StopPoint()) return false;
      auto pos = static_cast<std::int64_t>(random_.Next() * world_.MapWidth * world_.MapHeight);
      pos = std::min(pos, squares - 1);  // a product that rounds up to the map's size
      const Square at{static_cast<std::int32_t>(pos % world_.MapWidth),
                      static_cast<std::int32_t>(pos / world_.MapWidth)};
      const char code = Code(at);
      if (code == terrain::kClear) {
        start = at;
        return true;
      }
      if (attractors.find(code) == std::string_view::npos) continue;
      DirectionTable tried{};
      // At least one direction is unmarked whenever a draw is made, so each draw ends the
      // rejection with a chance of 1 in 4 or better.
      while (!AllMarked(tried)) {
        const int d = DrawDirection();
        if (tried[static_cast<std::size_t>(d)]) continue;
        const Square next = Step(world_, at, d);
        if (IsClearSquare(world_, next.x, next.y)) {
          start = next;
          return true;
        }
        tried[static_cast<std::size_t>(d)] = true;
      }
    }
    return false;
  }

  std::int32_t DrawTarget(Square start) {
    const ClusterRange range = ClusterSizeRange(window_.Count(start.x, start.y));
    return static_cast<std::int32_t>(random_.Next() * (range.hi - range.lo + 1) + range.lo);
  }

  void LogCluster(char code, Square start, std::int32_t target, std::int32_t written) {
    if (log_ != nullptr) log_->clusters.push_back({code, start, target, written});
  }

  // Mountain ranges: a walker that surges sideways while it has many squares to place,
  // and otherwise creeps in a random direction that never turns back on its main one.
  void PlaceMountains(double share) {
    std::int64_t placed = 0;
    while (static_cast<double>(placed) < share) {
      Square at{};
      if (!FindStart(kNoAttractors, at)) break;
      const Square start = at;
      const std::int32_t target = DrawTarget(start);
      std::int32_t n = 0, revisits = 0;
      bool alive = true;
      const int dir = DrawDirection();
      const auto make = [&](Square square) {
        Write(square, terrain::kMountains);
        ++n;
        ++placed;
      };
      while (n < target && alive && revisits < kMostRevisits) {
        if (Code(at) != terrain::kMountains)
          make(at);
        else
          ++revisits;

        // West, east, north, south.
        const Square around[4] = {
            {at.x - 1, at.y}, {at.x + 1, at.y}, {at.x, at.y - 1}, {at.x, at.y + 1}};
        int clearN = 0;
        for (const Square& s : around) clearN += IsClearSquare(world_, s.x, s.y) ? 1 : 0;
        if (clearN == 0) break;

        const std::int32_t remaining = target - n;
        const auto surge = static_cast<float>(10 * random_.Next());
        if (remaining > clearN && surge < static_cast<float>(remaining)) {
          for (const Square& s : around)
            if (IsClearSquare(world_, s.x, s.y)) make({world_.WrapX(s.x), s.y});
          const Square ahead = Step(world_, at, dir);
          if (IsClearSquare(world_, ahead.x, ahead.y)) at = ahead;
          const bool acrossRows = dir == kWest || dir == kEast;
          const int sides[2] = {acrossRows ? kSouth : kWest, acrossRows ? kNorth : kEast};
          for (int side : sides) {
            const Square next = Step(world_, at, side);
            if (IsClearSquare(world_, next.x, next.y)) {
              at = next;
              break;
            }
          }
        }

        DirectionTable tried{};
        tried[static_cast<std::size_t>(Opposite(dir))] = true;
        alive = false;
        while (!AllMarked(tried)) {
          const int d = DrawDirection();
          if (tried[static_cast<std::size_t>(d)]) continue;
          const Square next = Step(world_, at, d);
          if (IsLandSquare(world_, next.x, next.y)) {
            at = next;
            alive = true;
            break;
          }
          tried[static_cast<std::size_t>(d)] = true;
        }
      }
      LogCluster(terrain::kMountains, start, target, n);
    }
  }

  struct GrowthEntry {
    Square at;
    bool exhausted;
  };

  // Rough and Forest: a blob grown one square at a time from random earlier squares of
  // the cluster, with the start square entered again every round so growth keeps close.
  void PlaceGrowth(char code, std::string_view attractors, double share) {
    std::int64_t placed = 0;
    std::vector<GrowthEntry> entries;
    while (static_cast<double>(placed) < share) {
      Square start{};
      if (!FindStart(attractors, start)) break;
      const std::int32_t target = DrawTarget(start);
      entries.assign(static_cast<std::size_t>(target) + 1, GrowthEntry{});
      std::int32_t n = 0, exhaustedCount = 0;
      bool alive = true;
      while (n < target && alive) {
        entries[static_cast<std::size_t>(n)] = {start, false};
        Write(start, code);
        ++n;
        ++placed;

        std::size_t origin = 0;
        for (;;) {
          if (exhaustedCount >= n) {
            alive = false;
            break;
          }
          // Some entry is not exhausted, so each draw finds one with a chance of 1 in n.
          do {
            origin = static_cast<std::size_t>(random_.Next() * n);
          } while (entries[origin].exhausted);
          if (HasClearNeighbour(world_, entries[origin].at.x, entries[origin].at.y)) break;
          entries[origin].exhausted = true;
          ++exhaustedCount;
        }
        if (!alive) break;

        bool grown = false;
        Square next{};
        for (int draws = 0; draws < kMostGrowDraws && !grown; ++draws) {
          next = Step(world_, entries[origin].at, DrawDirection());
          grown = next.y >= 0 && next.y < world_.MapHeight && Code(next) == terrain::kClear;
        }
        if (!grown) break;
        Write(next, code);
        entries[static_cast<std::size_t>(n)] = {next, false};
        ++n;
        ++placed;
      }
      LogCluster(code, start, target, n);
    }
  }

  // Rivers: each runs from its start square in straight runs of 1 to 3 squares, never
  // against its main direction nor straight back on the heading before, until it meets
  // water, another river, or its own course.
  void PlaceRivers(double share) {
    std::int64_t placed = 0;
    // The heading of the last move, carried from river to river through the whole pass.
    int previous = kNorth;
    while (static_cast<double>(placed) < share) {
      Square at{};
      if (!FindStart(kRiverAttractors, at)) break;
      const int dir = DrawDirection();
      std::int32_t length = 0, steps = 0;
      int heading = kNorth;
      TerrainLog::River* course = nullptr;
      if (log_ != nullptr) {
        log_->rivers.push_back({dir, {}, {}});
        course = &log_->rivers.back();
      }
      for (;;) {
        Write(at, terrain::kRiver);
        ++placed;
        ++steps;
        if (course != nullptr) course->squares.push_back(at);
        if ((placed & kDrawsBetweenStopPoints) == 0 && context_.StopPoint()) return;
        if (steps >= length) {
          DirectionTable barred{};
          barred[static_cast<std::size_t>(Opposite(dir))] = true;
          barred[static_cast<std::size_t>(Opposite(previous))] = true;
          // At most two directions are barred: each draw ends this with a chance of 1 in 2.
          do { heading = DrawDirection(); } while (barred[static_cast<std::size_t>(heading)]);
          length = ToInt32(2 * random_.Next() + 1);
          steps = 0;
          if (course != nullptr)
            course->segments.push_back({course->squares.size() - 1, heading, length});
        }
        const Square next = Step(world_, at, heading);
        if (!IsLandSquare(world_, next.x, next.y) || IsRiverSquare(world_, next.x, next.y)) break;
        at = next;
        previous = heading;
      }
    }
  }

  BuildContext& context_;
  WorldState& world_;
  Random& random_;
  TerrainLog* log_;
  // Every write of the stage turns land into other land, so the land it counts round a
  // start square is the land it began with.
  const LandWindowCounter window_;
  std::int64_t clear_ = 0;  // "C" squares on the map
};

}  // namespace

bool IsLandSquare(const WorldState& world, std::int32_t x, std::int32_t y) {
  const char code = CodeAt(world, x, y);
  return code != 0 && IsLand(code);
}

bool IsClearSquare(const WorldState& world, std::int32_t x, std::int32_t y) {
  return CodeAt(world, x, y) == terrain::kClear;
}

bool IsRiverSquare(const WorldState& world, std::int32_t x, std::int32_t y) {
  return CodeAt(world, x, y) == terrain::kRiver;
}

bool HasClearNeighbour(const WorldState& world, std::int32_t x, std::int32_t y) {
  if (!world.WorldMap.Contains(x, y)) return false;
  const char* row = &world.WorldMap(0, y);
  const std::int32_t width = world.MapWidth;
  return row[world.WrapX(x - 1)] == terrain::kClear || row[world.WrapX(x + 1)] == terrain::kClear ||
         (y > 0 && row[x - width] == terrain::kClear) ||
         (y + 1 < world.MapHeight && row[x + width] == terrain::kClear);
}

TerrainFractions CapTerrainFractions(TerrainFractions f) {
  // An infinite share would never come down to the cap.
  for (float* p : {&f.rivers, &f.forest, &f.rough, &f.mountains})
    if (!std::isfinite(*p)) *p = 0;
  while (f.rivers + f.forest + f.rough + f.mountains > kMostTerrainShare)
    for (float* p : {&f.rivers, &f.forest, &f.rough, &f.mountains})
      *p = static_cast<float>(*p * kShareScale);
  return f;
}

LandWindowCounter::LandWindowCounter(const WorldState& world)
    : width_(world.MapWidth), height_(world.MapHeight) {
  if (width_ <= 0 || height_ <= 0) return;
  // Bit e of a widened row is column e - 8, as the square tests take it.
  const std::int32_t columns = width_ + 2 * kWindowReach;
  stride_ = static_cast<std::size_t>(columns / 64) + 2;
  bits_.assign(stride_ * static_cast<std::size_t>(height_), 0);
  for (std::int32_t y = 0; y < height_; ++y) {
    const char* codes = &world.WorldMap(0, y);
    std::uint64_t* row = &bits_[static_cast<std::size_t>(y) * stride_];
    const auto set = [row](std::int32_t e) { row[e / 64] |= std::uint64_t{1} << (e % 64); };
    OrCodeBits(codes, width_, row, kWindowReach, [this](std::uint64_t eight) -> std::uint64_t {
      if (eight == codebits::kAllSea) return 0;
      clearSquares_ += CountCodes8(eight, terrain::kClear);
      return LandBits8(eight);
    });
    for (std::size_t k = 0; k < stride_; ++k) landSquares_ += CountBits(row[k]);
    if (!world.MapWrap) continue;
    if (width_ >= kWindowReach) {
      // Columns width - 8 .. width - 1 (bits width .. width + 7) again before column 0, and
      // columns 0 .. 7 (bits 8 .. 15) again after the last.
      const auto eight = [row](std::int32_t e) {
        const int shift = e % 64;
        const std::uint64_t high = shift > 56 ? row[e / 64 + 1] << (64 - shift) : 0;
        return ((row[e / 64] >> shift) | high) & 0xff;
      };
      const std::uint64_t lastColumns = eight(width_), firstColumns = eight(kWindowReach);
      row[0] |= lastColumns;
      const std::int32_t after = width_ + kWindowReach;
      row[after / 64] |= firstColumns << (after % 64);
      if (after % 64 > 56) row[after / 64 + 1] |= firstColumns >> (64 - after % 64);
      continue;
    }
    for (std::int32_t e = 0; e < kWindowReach; ++e) {
      // Column e - 8 and column width + e, wrapped as often as a narrow map needs.
      if (IsLand(codes[((e - kWindowReach) % width_ + width_) % width_])) set(e);
      if (IsLand(codes[e % width_])) set(width_ + kWindowReach + e);
    }
  }
}

namespace {

// The window's squares fall into five bands by their distance from the centre, the larger of
// |dx| and |dy|: band 0 holds distances 0 .. 2, band 1 distance 3, band 2 distance 4, band 3
// distances 5 and 6, band 4 distances 7 and 8. Count k of the window (c2, c3, c4, c6, c8)
// is then the land of bands 0 .. k.
constexpr int kBands = 5;
constexpr int BandOf(int distance) {
  return distance <= 2 ? 0 : distance == 3 ? 1 : distance == 4 ? 2 : distance <= 6 ? 3 : 4;
}

// For the eight columns on one side of the centre, as eight bits of a slice: byte b of
// entry v is how many of the bits set in v lie in columns of band b. West, bit j is column
// j - 8; east, bit j is column j + 1.
constexpr std::array<std::uint64_t, 256> SideBands(bool west) {
  std::array<std::uint64_t, 256> table{};
  for (int v = 0; v < 256; ++v)
    for (int j = 0; j < 8; ++j) {
      const int distance = west ? 8 - j : j + 1;
      if ((v >> j) & 1)
        table[static_cast<std::size_t>(v)] += std::uint64_t{1} << (8 * BandOf(distance));
    }
  return table;
}
// The band of each row of the window, from dy = -8 to 8.
constexpr std::array<int, 17> kRowBands = [] {
  std::array<int, 17> bands{};
  for (int dy = -8; dy <= 8; ++dy)
    bands[static_cast<std::size_t>(dy + 8)] = BandOf(dy < 0 ? -dy : dy);
  return bands;
}();
constexpr std::array<std::uint64_t, 256> kWestBands = SideBands(true);
constexpr std::array<std::uint64_t, 256> kEastBands = SideBands(false);

}  // namespace

LandWindow LandWindowCounter::Count(std::int32_t x, std::int32_t y) const {
  static_assert(kWindowReach == 8, "the band tables are written out for a reach of 8");
  LandWindow w;
  if (x < 0 || x >= width_) return w;
  const auto word = static_cast<std::size_t>(x / 64);
  const int shift = x % 64;
  // rows[g], byte b: land squares of band b in the rows whose distance from y is in band g;
  // no byte exceeds 17 rows of 5 squares.
  std::uint64_t rows[kBands] = {};
  const std::int32_t first = std::max(y - kWindowReach, 0);
  const std::int32_t last = std::min(y + kWindowReach, height_ - 1);
  for (std::int32_t row = first; row <= last; ++row) {
    // Bits 0 .. 16 of a slice are columns x - 8 .. x + 8.
    const std::uint64_t* bits = &bits_[static_cast<std::size_t>(row) * stride_ + word];
    const std::uint64_t slice =
        shift == 0 ? bits[0] : (bits[0] >> shift) | (bits[1] << (64 - shift));
    rows[kRowBands[row - y + kWindowReach]] +=
        kWestBands[slice & 0xff] + ((slice >> 8) & 1) + kEastBands[(slice >> 9) & 0xff];
  }
  // Count k takes bands 0 .. k of the rows of bands 0 .. k.
  std::int32_t* counts[kBands] = {&w.c2, &w.c3, &w.c4, &w.c6, &w.c8};
  std::uint64_t inner = 0;
  for (int k = 0; k < kBands; ++k) {
    inner += rows[k];
    for (int b = 0; b <= k; ++b)
      *counts[k] += static_cast<std::int32_t>((inner >> (8 * b)) & 0xff);
  }
  return w;
}

ClusterRange ClusterSizeRange(const LandWindow& w) {
  // Each test on its own, in this order; the first replaces the starting range.
  ClusterRange r;
  if (w.c2 >= 19) r = {5, 10};
  if (w.c3 >= 37) r = {r.lo + 3, r.hi + 7};
  if (w.c4 >= 61) r = {r.lo + 3, r.hi + 9};
  if (w.c6 >= 127) r = {r.lo + 5, r.hi + 11};
  if (w.c8 > 217) r = {r.lo + 5, r.hi + 13};
  return r;
}

void PlaceTerrain(BuildContext& context, float pRivers, float pForest, float pRough,
                  float pMountains, TerrainLog* log) {
  TerrainStage(context, log).Run({pRivers, pForest, pRough, pMountains});
}

}  // namespace lorvex::stages
