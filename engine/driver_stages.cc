#include "engine/driver_stages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/numbers.h"
#include "stages/cities.h"
#include "stages/terrain.h"

namespace lorvex {

namespace {

constexpr int kTerrainKinds = 4;  // 0 Rivers, 1 Forest, 2 Rough, 3 Mountains

// The one-letter choice behind a selection box's list index, or `other` for an index
// outside its three items.
char Choice(int listIndex, const char (&letters)[3], char other) {
  return listIndex >= 0 && listIndex < 3 ? letters[listIndex] : other;
}

std::int16_t ListIndex16(const params::ParameterView& view, const char* name) {
  return static_cast<std::int16_t>(std::clamp<int>(view.ListIndex(name, 0),
                                                   std::numeric_limits<std::int16_t>::min(),
                                                   std::numeric_limits<std::int16_t>::max()));
}

// A whole number drawn from a Lo/Hi pair of real numbers: floor(r * (Hi - Lo + 1) + Lo).
double DrawFromPair(Random& random, double lo, double hi) {
  return std::floor(random.Next() * (hi - lo + 1) + lo);
}

}  // namespace

void RunTerrainStage(BuildContext& context) {
  // All four draws come before any fraction is formed.
  double rho[kTerrainKinds];
  for (double& r : rho) r = context.random.Next();
  float fraction[kTerrainKinds];
  for (int k = 0; k < kTerrainKinds; ++k) {
    const std::int32_t lo = ToInt32(context.params.Number("txtTerrain", 2 * k));
    const std::int32_t hi = ToInt32(context.params.Number("txtTerrain", 2 * k + 1));
    const double percent =
        std::floor(rho[k] * (static_cast<double>(hi) - static_cast<double>(lo) + 1) + lo);
    fraction[k] = static_cast<float>(percent) / 100.0f;
  }
  stages::PlaceTerrain(context, fraction[0], fraction[1], fraction[2], fraction[3]);
}

void RunCityStage(BuildContext& context) {
  const params::ParameterView& view = context.params;
  const char mode = Choice(
      view.ListIndex("cboPlacement", 0),
      {stages::citymode::kRandomly, stages::citymode::kEvenly, stages::citymode::kProportionately},
      0);
  if (mode == 0) return;
  // A count choice outside the list (a hand-edited settings file) counts as "Specify", the
  // list's first item.
  const char countMode = Choice(view.ListIndex("cboCityNumber", 0),
                                {stages::citymode::kSpecify, stages::citymode::kCalculateLand,
                                 stages::citymode::kCalculateMap},
                                stages::citymode::kSpecify);

  double figures[8];
  for (int i = 0; i < 8; ++i) figures[i] = view.Number("txtCities", i);
  // The coastal percentage is drawn before the specialty percentage.
  const std::int16_t coastal = ToInt16(DrawFromPair(context.random, figures[6], figures[7]));
  const std::int16_t specialty = ToInt16(DrawFromPair(context.random, figures[4], figures[5]));

  const bool evenly = mode == stages::citymode::kEvenly;
  std::int16_t sizeOption = stages::kNoMassOfItsOwn;
  if (evenly) sizeOption = ListIndex16(view, "cboPlace1Param1");
  if (mode == stages::citymode::kProportionately) sizeOption = ListIndex16(view, "cboPlace2Param1");
  // A rule outside the list counts as "Proportional by Total Land Size", its first item.
  const char numberRule =
      evenly ? Choice(view.ListIndex("cboPlace1Param2", 0),
                      {stages::citymode::kByTotalLand, stages::citymode::kByPercentage,
                       stages::citymode::kByNumber},
                      stages::citymode::kByTotalLand)
             : stages::citymode::kByTotalLand;
  std::int32_t perClass[4] = {0, 0, 0, 0};
  if (evenly)
    for (int i = 0; i < 4; ++i) perClass[i] = ToInt32(view.Number("txtPlace1", i));

  stages::PlaceCities(context, ToInt32(figures[1]), ToInt32(figures[0]), countMode, coastal,
                      ToInt32(figures[2]), ToInt32(figures[3]), specialty, mode, sizeOption,
                      numberRule, perClass[0], perClass[1], perClass[2], perClass[3]);
}

}  // namespace lorvex
