#include "stages/cities.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

#include "common/numbers.h"
#include "world/code_bits.h"
#include "world/grid.h"

namespace lorvex::stages {

namespace {

constexpr int kSizeClasses = 4;
constexpr int kMostTries = 51;    // tries 0 .. 50 for one city
constexpr int kLastWideTry = 30;  // tries 0 .. 30 keep two squares clear, later ones one
constexpr std::int16_t kNoSpecialty = 9;

std::int16_t HeldSizeOption(std::int16_t option) {
  return std::clamp(option, kNoMassOfItsOwn, kAllSizes);
}

// A planned count from its real value: rounded half to even, never below 0 and never past
// what is left of the build's limit.
std::int64_t PlannedCount(double value, std::int64_t plannedSoFar) {
  if (!(value > 0)) return 0;  // also NaN
  const double rounded = RoundHalfEven(value);
  const auto room = static_cast<double>(kMostPlannedCities - plannedSoFar);
  return static_cast<std::int64_t>(std::min(rounded, room));
}

// Puts the cities of one list on the map and fills their values.
class CityPlacer {
 public:
  CityPlacer(BuildContext& context, std::int32_t productionLo, std::int32_t productionHi,
             std::int16_t specialtyPercent)
      : context_(context),
        world_(context.world),
        random_(context.random),
        productionLo_(productionLo),
        productionHi_(productionHi),
        specialtyPercent_(specialtyPercent) {}

  // Spreads `planned` cities evenly through the list's scan order, each with a jitter of a
  // quarter spacing either way; a city for which 51 tries find no free square is skipped.
  // `list` is a std::vector of square numbers or a SquareBitList: size() and list[i].
  template <typename List>
  void Place(const List& list, std::int64_t planned, bool coastal) {
    if (planned <= 0 || list.size() == 0) return;
    const auto length = static_cast<std::int64_t>(list.size());
    const auto spacing =
        static_cast<float>(static_cast<double>(length) / static_cast<double>(planned));
    // Which list squares already have a city within one or two squares (within one implies
    // within two). A city is never taken away, so a square once blocked stays blocked;
    // remembering it makes the tries of a list with more cities planned than it can hold
    // cost nothing more. A bit a square each, as the list may hold most of the map.
    std::vector<bool> within1(list.size(), false), within2(list.size(), false);
    // The list square a try of city j looks at, for its jitter in [-0.25, 0.25).
    const auto indexFor = [&](std::int64_t j, double jitter) {
      const double at = RoundHalfEven(static_cast<double>(spacing) * static_cast<double>(j) +
                                      static_cast<double>(spacing) * jitter);
      return static_cast<std::size_t>(std::clamp(at, 0.0, static_cast<double>(length - 1)));
    };
    for (std::int64_t j = 1; j <= planned; ++j) {
      // The stage never yields; a stop asked from another thread ends it here.
      if (context_.StopPoint()) return;
      // When every square the tries of city j can look at has a city within one square, all
      // 51 tries fail and only their draws remain: they are skipped in one go, so that a
      // list with far more cities planned than it can hold is passed over quickly.
      bool hopeless = true;
      for (std::size_t i = indexFor(j, -0.25), last = indexFor(j, 0.25); i <= last && hopeless; ++i)
        hopeless = within1[i];
      if (hopeless) {
        random_.Discard(kMostTries);
        continue;
      }
      for (int tryNumber = 0; tryNumber < kMostTries; ++tryNumber) {
        const std::size_t index = indexFor(j, 0.5 * random_.Next() - 0.25);
        const int radius = tryNumber <= kLastWideTry ? 2 : 1;
        if (radius == 2 ? within2[index] : within1[index]) continue;
        const SquareNumber number = list[index];
        const CitySquare square{number % world_.MapWidth, number / world_.MapWidth};
        if (CityWithin(world_, square.x, square.y, radius)) {
          within2[index] = true;
          if (radius == 1) within1[index] = true;
          continue;
        }
        Found(square, coastal);
        within1[index] = within2[index] = true;
        break;
      }
    }
  }

 private:
  void Found(CitySquare square, bool coastal) {
    const auto q = static_cast<std::size_t>(next_);
    world_.WorldMap(square.x, square.y) = terrain::kCity;
    world_.CityOfSquare(square.x, square.y) = next_;
    // Production and its range are held to 16 bits (the fields allow 999 at most).
    world_.CityProduction[q] = ToInt16(
        std::floor(random_.Next() * (static_cast<double>(productionHi_) - productionLo_ + 1)) +
        productionLo_);
    world_.CityOwner[q] = 0;
    const double r1 = random_.Next(), r2 = random_.Next();
    if (std::floor(100 * r1) < specialtyPercent_)
      world_.CitySpecialty[q] = static_cast<std::int16_t>(std::floor((coastal ? 10 : 4) * r2) + 10);
    else
      world_.CitySpecialty[q] = kNoSpecialty;
    ++next_;
  }

  BuildContext& context_;
  WorldState& world_;
  Random& random_;
  std::int32_t productionLo_;
  std::int32_t productionHi_;
  std::int16_t specialtyPercent_;
  std::int32_t next_ = 0;  // number of the next city
};

// Calls visit(first, land, coastal) for every word of 64 squares of a row that holds land,
// in scan order: bit b of a word is square first + b, `land` holds the word's land squares
// and `coastal` those of them where HasCoastNeighbour holds. Each row is taken as bits once,
// its land and open sea together; its coastal squares come from its own open sea shifted
// west and east (wrapping round the width) and the open sea of the rows above and below.
template <typename Visit>
void ForEachLandWord(const WorldState& world, Visit&& visit) {
  const std::int32_t width = world.MapWidth, height = world.MapHeight;
  if (width <= 0 || height <= 0) return;
  const auto words = static_cast<std::size_t>((width + 63) / 64);
  // Land of rows y and y + 1, open sea of rows y - 1, y and y + 1; rows outside the map are
  // not sea.
  std::vector<std::uint64_t> land(words), nextLand(words), above(words, 0), here(words),
      below(words, 0);
  LandAndSeaBits(&world.WorldMap(0, 0), width, land.data(), here.data());
  for (std::int32_t y = 0; y < height; ++y) {
    if (y + 1 < height)
      LandAndSeaBits(&world.WorldMap(0, y + 1), width, nextLand.data(), below.data());
    else
      std::fill(below.begin(), below.end(), 0);
    const std::uint64_t westOfFirst = (here[words - 1] >> ((width - 1) % 64)) & 1;
    const std::uint64_t eastOfLast = here[0] & 1;
    for (std::size_t k = 0; k < words; ++k) {
      if (land[k] == 0) continue;
      std::uint64_t west = (here[k] << 1) | (k > 0 ? here[k - 1] >> 63 : westOfFirst);
      std::uint64_t east = (here[k] >> 1) | (k + 1 < words ? here[k + 1] << 63 : 0);
      if (k == words - 1) east |= eastOfLast << ((width - 1) % 64);
      visit(static_cast<SquareNumber>(y * width + static_cast<std::int32_t>(k * 64)), land[k],
            land[k] & (west | east | above[k] | below[k]));
    }
    above.swap(here);
    here.swap(below);
    land.swap(nextLand);
  }
}

// Calls take(square) for every set bit of `bits`, lowest first; bit b is square first + b.
template <typename Take>
void ForEachBit(std::uint64_t bits, SquareNumber first, Take&& take) {
  for (; bits != 0; bits &= bits - 1) take(first + std::countr_zero(bits));
}

// The coastal and the inland land squares of a map as bits, from one scan: bit b of word k
// of row y stands for square (64k + b, y).
struct LandBits {
  std::size_t words = 0;  // words a row
  std::vector<std::uint64_t> coastal, inland;
};

LandBits TakeLandBits(const WorldState& world) {
  LandBits bits;
  bits.words = static_cast<std::size_t>((std::max(world.MapWidth, 0) + 63) / 64);
  const std::size_t size = bits.words * static_cast<std::size_t>(std::max(world.MapHeight, 0));
  bits.coastal.assign(size, 0);
  bits.inland.assign(size, 0);
  const std::int32_t width = world.MapWidth;
  ForEachLandWord(world, [&](SquareNumber first, std::uint64_t land, std::uint64_t coastal) {
    // A word of a row starts at a multiple of 64 columns.
    const std::size_t at = static_cast<std::size_t>(first / width) * bits.words +
                           static_cast<std::size_t>(first % width) / 64;
    bits.coastal[at] = coastal;
    bits.inland[at] = land & ~coastal;
  });
  return bits;
}

// The squares of one kind of LandBits as a list in scan order, read where a city tries them
// instead of written out: item i is the square of the i-th set bit, found through the count
// of set bits before each word. Half a byte a square or less against four a land square.
class SquareBitList {
 public:
  SquareBitList(const std::vector<std::uint64_t>& bits, std::size_t words, std::int32_t width)
      : bits_(bits), words_(words), width_(width), before_(bits.size()) {
    std::uint32_t count = 0;
    for (std::size_t k = 0; k < bits.size(); ++k) {
      before_[k] = count;
      count += static_cast<std::uint32_t>(CountBits(bits[k]));
    }
    size_ = count;
  }

  std::size_t size() const { return size_; }

  SquareNumber operator[](std::size_t i) const {
    // The last word with at most i set bits before it holds item i.
    const auto k = static_cast<std::size_t>(
        std::upper_bound(before_.begin(), before_.end(), static_cast<std::uint32_t>(i)) -
        before_.begin() - 1);
    std::uint64_t word = bits_[k];
    for (std::uint32_t skip = static_cast<std::uint32_t>(i) - before_[k]; skip > 0; --skip)
      word &= word - 1;
    const auto row = static_cast<std::int32_t>(k / words_);
    const auto column = static_cast<std::int32_t>((k % words_) * 64) + std::countr_zero(word);
    return row * width_ + column;
  }

 private:
  const std::vector<std::uint64_t>& bits_;
  std::size_t words_;
  std::int32_t width_;
  std::vector<std::uint32_t> before_;  // set bits in the words before each word
  std::size_t size_ = 0;
};

}  // namespace

bool HasCoastNeighbour(const WorldState& world, std::int32_t x, std::int32_t y) {
  if (!world.WorldMap.Contains(x, y)) return false;
  for (int d : {kWest, kEast, kNorth, kSouth}) {
    const std::int32_t nx = world.StepX(x, d), ny = WorldState::StepY(y, d);
    if (ny >= 0 && ny < world.MapHeight && world.WorldMap(nx, ny) == terrain::kSea) return true;
  }
  return false;
}

bool CityWithin(const WorldState& world, std::int32_t x, std::int32_t y, std::int32_t radius) {
  const std::int32_t width = world.MapWidth, height = world.MapHeight;
  // A radius past the map's larger side looks at no more squares than that side does.
  radius = std::clamp(radius, 1, std::max({width, height, 1}));
  const bool inside = x - radius >= 0 && x + radius < width;
  for (std::int32_t dy = -radius; dy <= radius; ++dy) {
    const std::int32_t row = y + dy;
    if (row < 0 || row >= height) continue;
    if (inside) {
      // The columns lie on the map: one run of the row, searched as it stands.
      const char* first = &world.WorldMap(x - radius, row);
      const char* end = first + 2 * radius + 1;
      if (std::find(first, end, terrain::kCity) != end) return true;
      continue;
    }
    for (std::int32_t dx = -radius; dx <= radius; ++dx) {
      std::int32_t column = x + dx;
      if (column < 0 || column >= width) {
        if (!world.MapWrap || width <= 0) continue;
        column %= width;
        if (column < 0) column += width;
      }
      if (world.WorldMap(column, row) == terrain::kCity) return true;
    }
  }
  return false;
}

namespace {

// The buckets of a size option with their classes, their lists still empty, and the bucket
// of each land mass.
struct BucketLayout {
  std::vector<CityBucket> buckets;
  std::vector<std::int32_t> bucketOfMass;
};

BucketLayout LayOutBuckets(const WorldState& world, std::int16_t sizeOption) {
  const std::int16_t option = HeldSizeOption(sizeOption);
  const auto masses = static_cast<std::int32_t>(world.MassTable.size());
  BucketLayout layout;
  std::vector<std::int32_t>& bucketOfMass = layout.bucketOfMass;
  std::vector<CityBucket>& buckets = layout.buckets;
  bucketOfMass.assign(static_cast<std::size_t>(masses), -1);
  if (option == kAllSizes) {
    // Every mass a bucket of its own; the last mass stands in for the remaining land.
    buckets.resize(static_cast<std::size_t>(std::max(masses, 1)));
    for (std::int32_t m = 0; m < masses; ++m) {
      bucketOfMass[static_cast<std::size_t>(m)] = m;
      buckets[static_cast<std::size_t>(m)].sizeClass =
          world.MassTable[static_cast<std::size_t>(m)].sizeClass;
    }
  } else {
    std::int32_t eligible = 0;
    for (std::int32_t m = 0; m < masses; ++m)
      if (world.MassTable[static_cast<std::size_t>(m)].sizeClass <= option)
        bucketOfMass[static_cast<std::size_t>(m)] = eligible++;
    buckets.resize(static_cast<std::size_t>(eligible) + 1);
    CityBucket& remaining = buckets.back();
    for (std::int32_t m = 0; m < masses; ++m) {
      const std::int16_t sizeClass = world.MassTable[static_cast<std::size_t>(m)].sizeClass;
      std::int32_t& bucket = bucketOfMass[static_cast<std::size_t>(m)];
      if (bucket >= 0) {
        buckets[static_cast<std::size_t>(bucket)].sizeClass = sizeClass;
      } else {
        bucket = eligible;
        remaining.sizeClass = std::max(remaining.sizeClass, sizeClass);
      }
    }
  }
  return layout;
}

// Fills the lists of the buckets laid out.
void FillBuckets(const WorldState& world, BucketLayout& layout) {
  std::vector<CityBucket>& buckets = layout.buckets;
  const std::vector<std::int32_t>& bucketOfMass = layout.bucketOfMass;
  const auto masses = static_cast<std::int32_t>(bucketOfMass.size());
  // Taking each land square into its bucket's list in scan order gives every list exactly
  // as a scan for that bucket alone would. The first scan counts, the second fills.
  const auto last = static_cast<std::int32_t>(buckets.size()) - 1;
  const std::int32_t* massOf = world.MassOfSquare.Cells().data();
  const bool oneBucket = buckets.size() == 1;
  // The list a land square goes to: 2b for the coastal squares of bucket b, 2b + 1 for its
  // inland ones.
  constexpr int kCoastal = 0, kInland = 1;
  const auto listOf = [&](SquareNumber square, int side) -> std::size_t {
    if (oneBucket) return static_cast<std::size_t>(side);
    const std::int32_t mass = massOf[square];
    const std::int32_t bucket =
        mass >= 0 && mass < masses ? bucketOfMass[static_cast<std::size_t>(mass)] : last;
    return 2 * static_cast<std::size_t>(bucket) + static_cast<std::size_t>(side);
  };
  std::vector<std::int64_t> counts(2 * buckets.size(), 0);
  ForEachLandWord(world, [&](SquareNumber first, std::uint64_t land, std::uint64_t coastal) {
    if (oneBucket) {
      counts[kCoastal] += CountBits(coastal);
      counts[kInland] += CountBits(land & ~coastal);
      return;
    }
    ForEachBit(coastal, first, [&](SquareNumber s) { ++counts[listOf(s, kCoastal)]; });
    ForEachBit(land & ~coastal, first, [&](SquareNumber s) { ++counts[listOf(s, kInland)]; });
  });
  // Each list made at its size; next[list] is where its next square goes.
  std::vector<SquareNumber*> next(2 * buckets.size());
  for (std::size_t b = 0; b < buckets.size(); ++b) {
    buckets[b].coastal.resize(static_cast<std::size_t>(counts[2 * b + kCoastal]));
    buckets[b].inland.resize(static_cast<std::size_t>(counts[2 * b + kInland]));
    next[2 * b + kCoastal] = buckets[b].coastal.data();
    next[2 * b + kInland] = buckets[b].inland.data();
  }
  ForEachLandWord(world, [&](SquareNumber first, std::uint64_t land, std::uint64_t coastal) {
    ForEachBit(coastal, first, [&](SquareNumber s) { *next[listOf(s, kCoastal)]++ = s; });
    ForEachBit(land & ~coastal, first, [&](SquareNumber s) { *next[listOf(s, kInland)]++ = s; });
  });
}

// The land and the planned cities of one bucket, for the share.
struct BucketShare {
  std::int16_t sizeClass = -1;
  std::int64_t land = 0;
  std::int64_t plannedCoastal = 0;
  std::int64_t plannedInland = 0;
};

std::int64_t PlanShares(std::vector<BucketShare>& buckets, const CityShareRule& rule,
                        std::int64_t worldCount);

}  // namespace

std::vector<CityBucket> CollectCityBuckets(const WorldState& world, std::int16_t sizeOption) {
  BucketLayout layout = LayOutBuckets(world, sizeOption);
  FillBuckets(world, layout);
  return std::move(layout.buckets);
}

CityCountRange WorldCityCountRange(char countMode, std::int32_t numberLo, std::int32_t numberHi,
                                   std::int64_t landSquares, std::int64_t mapSquares) {
  if (countMode != citymode::kCalculateLand && countMode != citymode::kCalculateMap)
    return {numberLo, numberHi};
  const auto squares =
      static_cast<double>(countMode == citymode::kCalculateLand ? landSquares : mapSquares);
  // Squares per city below 1 read as 1: a city on every square is the most there can be.
  const auto perCity = [](std::int32_t number) { return static_cast<double>(std::max(number, 1)); };
  return {static_cast<std::int64_t>(RoundHalfEven(squares / perCity(numberHi))),
          static_cast<std::int64_t>(RoundHalfEven(squares / perCity(numberLo)))};
}

bool NeedsWorldCityCount(const CityShareRule& rule) {
  return !(rule.placementMode == citymode::kEvenly && rule.numberRule == citymode::kByNumber);
}

std::int64_t PlanCityShares(std::vector<CityBucket>& buckets, const CityShareRule& rule,
                            std::int64_t worldCount) {
  std::vector<BucketShare> shares;
  shares.reserve(buckets.size());
  for (const CityBucket& b : buckets) shares.push_back({b.sizeClass, b.Land()});
  const std::int64_t total = PlanShares(shares, rule, worldCount);
  for (std::size_t b = 0; b < buckets.size(); ++b) {
    buckets[b].plannedCoastal = shares[b].plannedCoastal;
    buckets[b].plannedInland = shares[b].plannedInland;
  }
  return total;
}

namespace {

std::int64_t PlanShares(std::vector<BucketShare>& buckets, const CityShareRule& rule,
                        std::int64_t worldCount) {
  const std::int16_t option = HeldSizeOption(rule.sizeOption);
  std::int64_t landTotal = 0;
  std::int64_t classBuckets[kSizeClasses] = {}, classLand[kSizeClasses] = {};
  for (const BucketShare& b : buckets) {
    landTotal += b.land;
    if (b.sizeClass < 0 || b.sizeClass >= kSizeClasses) continue;
    ++classBuckets[b.sizeClass];
    classLand[b.sizeClass] += b.land;
  }
  const auto lsum = static_cast<double>(landTotal);
  const auto n = static_cast<double>(worldCount);
  const double coastal = rule.coastalPercent, inland = 100.0 - rule.coastalPercent;
  const bool evenly = rule.placementMode == citymode::kEvenly;

  std::int64_t total = 0;
  for (BucketShare& b : buckets) {
    b.plannedCoastal = b.plannedInland = 0;
    // A bucket that holds no mass has no land and no class value to share by.
    if (b.sizeClass < 0 || b.sizeClass >= kSizeClasses) continue;
    const auto land = static_cast<double>(b.land);
    const auto sameClass = static_cast<double>(classBuckets[b.sizeClass]);
    const std::int32_t value =
        rule.perClass[static_cast<std::size_t>(b.sizeClass <= option ? b.sizeClass : option + 1)];
    // The share of one side (coastal or inland) for its percentage.
    const auto share = [&](double percent) -> double {
      if (!evenly) return lsum > 0 ? land / lsum * percent / 100.0 * n : 0;
      switch (rule.numberRule) {
        case citymode::kByPercentage:
          return value / 100.0 * n * percent / 100.0 / sameClass;
        case citymode::kByNumber:
          return percent / 100.0 * value;
        default:
          return lsum > 0 ? static_cast<double>(classLand[b.sizeClass]) / lsum * n / sameClass *
                                percent / 100.0
                          : 0;
      }
    };
    b.plannedCoastal = PlannedCount(share(coastal), total);
    total += b.plannedCoastal;
    b.plannedInland = PlannedCount(share(inland), total);
    total += b.plannedInland;
  }
  return total;
}

}  // namespace

void PlaceCities(BuildContext& context, std::int32_t numberHi, std::int32_t numberLo,
                 char countMode, std::int16_t coastalPercent, std::int32_t productionLo,
                 std::int32_t productionHi, std::int16_t specialtyPercent, char placementMode,
                 std::int16_t sizeOption, char numberRule, std::int32_t large, std::int32_t medium,
                 std::int32_t small, std::int32_t tiny) {
  WorldState& world = context.world;
  context.hooks.ShowStatus("Cities", "Placing");
  if (context.StopPoint()) return;
  BucketLayout layout = LayOutBuckets(world, sizeOption);
  std::vector<CityBucket>& buckets = layout.buckets;
  // With one bucket, the most common case, its lists are the map's coastal and inland land
  // in scan order: they are read from the bits of one scan, never written out.
  const bool oneBucket = buckets.size() == 1;
  LandBits bits;
  std::optional<SquareBitList> coastalSquares, inlandSquares;
  std::vector<BucketShare> shares;
  if (oneBucket) {
    bits = TakeLandBits(world);
    coastalSquares.emplace(bits.coastal, bits.words, world.MapWidth);
    inlandSquares.emplace(bits.inland, bits.words, world.MapWidth);
    shares.push_back({buckets[0].sizeClass,
                      static_cast<std::int64_t>(coastalSquares->size() + inlandSquares->size())});
  } else {
    FillBuckets(world, layout);
    for (const CityBucket& b : buckets) shares.push_back({b.sizeClass, b.Land()});
  }
  context.hooks.ShowStatus("Cities", "Placing");
  if (context.StopPoint()) return;  // after the scans of the map

  const CityShareRule rule{
      placementMode, sizeOption, numberRule, {large, medium, small, tiny}, coastalPercent};
  std::int64_t worldCount = 0;
  if (NeedsWorldCityCount(rule)) {
    std::int64_t land = 0;
    for (const BucketShare& b : shares) land += b.land;
    const CityCountRange range = WorldCityCountRange(
        countMode, numberLo, numberHi, land,
        static_cast<std::int64_t>(world.MapWidth) * static_cast<std::int64_t>(world.MapHeight));
    // Used as drawn: from 32-bit figures it fits 64 bits; the plan holds the total.
    worldCount = static_cast<std::int64_t>(
        std::floor(context.random.Next() *
                       (static_cast<double>(range.hi) - static_cast<double>(range.lo) + 1) +
                   static_cast<double>(range.lo)));
  }
  const std::int64_t planned = PlanShares(shares, rule, worldCount);

  const auto size = static_cast<std::size_t>(planned);
  // A plan of millions of cities takes a moment to write.
  for (std::vector<std::int16_t>* values : {&world.CityProduction, &world.CitySpecialty, &world.CityOwner})
    if (!AssignInBlocks(*values, size, std::int16_t{0}, [&context] { return !context.StopPoint(); })) return;
  CityPlacer placer(context, productionLo, productionHi, specialtyPercent);
  if (oneBucket) {
    placer.Place(*coastalSquares, shares[0].plannedCoastal, true);
    placer.Place(*inlandSquares, shares[0].plannedInland, false);
  } else {
    for (std::size_t b = 0; b < buckets.size(); ++b) {
      placer.Place(buckets[b].coastal, shares[b].plannedCoastal, true);
      placer.Place(buckets[b].inland, shares[b].plannedInland, false);
    }
  }
  context.AdvanceProgress(2);
}

}  // namespace lorvex::stages
