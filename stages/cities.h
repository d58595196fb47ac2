// City placement, the last generating stage of a build: how many cities the world gets, how
// they are shared over the land masses, where each one stands (spread evenly through the
// land of its share, never touching another), and its production, specialty and owner.
// All coordinates are map squares (x, y), x the column from the west, y the row from the top.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/build_context.h"

namespace lorvex::stages {

// The one-letter choices of the Cities page.
namespace citymode {
// How the world's city count is found (cboCityNumber).
inline constexpr char kSpecify = 'N';        // "Specify": Number Lo .. Hi cities
inline constexpr char kCalculateLand = 'L';  // "Calculate (Land)": land squares per city
inline constexpr char kCalculateMap = 'M';   // "Calculate (Map)": map squares per city
// How the cities are shared over the land masses (cboPlacement).
inline constexpr char kRandomly = 'R';         // "Randomly Place Cities Throughout"
inline constexpr char kEvenly = 'E';           // "Evenly Place on Land Masses by Size"
inline constexpr char kProportionately = 'P';  // "Propotionately Place on Land Masses"
// How "Evenly" finds each mass's share (cboPlace1Param2).
inline constexpr char kByTotalLand = 'P';   // "Proportional by Total Land Size"
inline constexpr char kByPercentage = '%';  // "Specified by Percentage"
inline constexpr char kByNumber = 'N';      // "Specified by Number (per Land Mass)"
}  // namespace citymode

// The size options of cboPlace1Param1 and cboPlace2Param1.
inline constexpr std::int16_t kLargeOnly = 0;        // "Large Only (Randomly Place Remaining)"
inline constexpr std::int16_t kLargeAndMedium = 1;   // "Large and Medium Only"
inline constexpr std::int16_t kAllSizes = 2;         // "All Land Mass Sizes"
inline constexpr std::int16_t kNoMassOfItsOwn = -1;  // "Randomly": all land one share

// The most cities one build plans: each takes three city values, so a count read from a
// settings file (up to 2^31) would exhaust memory. Twice the squares of the largest map.
inline constexpr std::int64_t kMostPlannedCities = std::int64_t{1} << 25;

// True when the west, east, north or south neighbour is sea ("S"). West and east wrap round
// the width whatever MapWrap says; a row outside the map counts as not sea.
bool HasCoastNeighbour(const WorldState& world, std::int32_t x, std::int32_t y);

// True when a city stands within `radius` squares of (x, y) in both directions, the square
// itself included; a radius below 1 counts as 1. Rows outside the map are skipped; columns
// outside it wrap on a wrapping map and are skipped on a flat one.
bool CityWithin(const WorldState& world, std::int32_t x, std::int32_t y, std::int32_t radius);

struct CitySquare {
  std::int32_t x, y;
  bool operator==(const CitySquare&) const = default;
};

// A map square as one number, y * MapWidth + x: the bucket lists hold land squares so, at
// half the memory of (x, y) pairs.
using SquareNumber = std::int32_t;

// One unit of the city share: a land mass of its own, or the remaining land (always the
// last bucket). Its class is the mass's size class, for the remaining land the largest
// among its masses, -1 while it holds none. Its squares are in map scan order (rows from
// the top, each row from the west).
struct CityBucket {
  std::int16_t sizeClass = -1;
  std::vector<SquareNumber> coastal;
  std::vector<SquareNumber> inland;
  std::int64_t plannedCoastal = 0;
  std::int64_t plannedInland = 0;

  std::int64_t Land() const { return static_cast<std::int64_t>(coastal.size() + inland.size()); }
};

// The buckets of a size option (-1 .. 2; values beyond are held to that range), filled with
// their coastal and inland squares by two scans of the map: the first counts each list, so
// that the second makes every list at its size. A land mass is a bucket of its
// own when the option is 2 or its size class is at most the option; all others share the
// last bucket. Land that belongs to no row of the mass table counts as remaining land.
std::vector<CityBucket> CollectCityBuckets(const WorldState& world, std::int16_t sizeOption);

// The bounds lo, hi of the world's city count. "Specify" takes Number Lo and Hi; the two
// calculated modes divide the land or the map by Hi and by Lo (squares per city, at least
// 1). Any other mode counts as "Specify".
struct CityCountRange {
  std::int64_t lo = 0;
  std::int64_t hi = 0;
};
CityCountRange WorldCityCountRange(char countMode, std::int32_t numberLo, std::int32_t numberHi,
                                   std::int64_t landSquares, std::int64_t mapSquares);

// How the planned cities are shared: the placement mode, the size option, the number rule
// of "Evenly", its four per-class values (Large, Medium, Small, Tiny Islands) and the
// coastal percentage.
struct CityShareRule {
  char placementMode = citymode::kRandomly;
  std::int16_t sizeOption = kNoMassOfItsOwn;
  char numberRule = citymode::kByTotalLand;
  std::array<std::int32_t, 4> perClass{};
  std::int16_t coastalPercent = 0;
};

// True when the share needs the world's city count (every rule but "Evenly" by number).
bool NeedsWorldCityCount(const CityShareRule& rule);

// Sets every bucket's planned coastal and inland cities for a world count; answers their
// total T. A bucket that holds no mass gets none.
std::int64_t PlanCityShares(std::vector<CityBucket>& buckets, const CityShareRule& rule,
                            std::int64_t worldCount);

// Places the cities. Arguments in order: Number Hi and Lo (txtCities(1), (0)); the count
// mode; the coastal percentage; Production Lo and Hi (txtCities(2), (3)); the specialty
// percentage; the placement mode; the size option; the number rule; the per-class values
// txtPlace1(0) .. (3). Fills CityProduction, CitySpecialty and CityOwner with T entries
// (those of cities that found no square stay 0), writes "Y" and the city number on each city
// square, shows the status "Cities" - "Placing" at the start and after counting the land,
// and raises the progress bar by 2 at the end.
void PlaceCities(BuildContext& context, std::int32_t numberHi, std::int32_t numberLo,
                 char countMode, std::int16_t coastalPercent, std::int32_t productionLo,
                 std::int32_t productionHi, std::int16_t specialtyPercent, char placementMode,
                 std::int16_t sizeOption, char numberRule, std::int32_t large, std::int32_t medium,
                 std::int32_t small, std::int32_t tiny);

}  // namespace lorvex::stages
