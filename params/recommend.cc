// Recommend: a random but consistent set of land-mass figures for the map's size — how
// much land, its share per size class, and how many masses of which sizes — written into
// the Land Masses page. Each press draws afresh from the window's one generator.
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/numbers.h"
#include "params/parameter_form.h"

namespace lorvex::params {

namespace {

// Steps 1 and 2 repeat until their draws agree, which happens with probability 1 on any
// map with squares; the bound ends the search on a map without squares, and reaching it
// counts as a failure.
constexpr int kMaxRedraws = 10000;
// Attempts at numbers and sizes that fall strictly from class to class.
constexpr int kMaxAttempts = 51;

// Below these land totals a class gets no masses of its own.
constexpr double kMinLargeLand = 400;
constexpr double kMinMediumLand = 200;

// Numbers and sizes of one size class, Lo and Hi.
struct ClassFigures {
  double numberLo = 0, numberHi = 0, sizeLo = 0, sizeHi = 0;
};

// Land of one size class in squares, Lo and Hi.
struct ClassLand {
  double lo = 0, hi = 0;
  bool Empty() const { return lo == 0 && hi == 0; }
};

// a / b, or nothing when b is 0 (the attempt then fails).
std::optional<double> Divide(double a, double b) {
  if (b == 0) return std::nullopt;
  return a / b;
}

}  // namespace

bool ParameterForm::DrawRecommendation() {
  const auto r = [this] { return env_.random.Next(); };
  const double squares = static_cast<double>(env_.mapWidth) * static_cast<double>(env_.mapHeight);

  // 1. Land total: Lo 10 to 41 % of the map, Hi 25 to 61 %, at least a tenth apart.
  double landLo = 0, landHi = 0;
  bool landFound = false;
  for (int draw = 0; draw < kMaxRedraws && !landFound; ++draw) {
    landLo = RoundHalfEven((31 * r() + 10) / 100 * squares);
    landHi = RoundHalfEven((36 * r() + 25) / 100 * squares);
    landFound = landHi - landLo > 0.1 * squares;
  }
  if (!landFound) return false;

  // 2. Shares of the size classes, in percent, until Small's share is 10 to 30.
  double pL = 0, pM = 0, pS = 0, pT = 0;
  bool sharesFound = false;
  for (int draw = 0; draw < kMaxRedraws && !sharesFound; ++draw) {
    pL = std::floor(21 * r()) + 40;
    pM = std::floor(16 * r()) + 25;
    const double c = 0.1 * landHi > 400 ? RoundHalfEven(40000 / landHi) : 11;
    pT = std::floor(c * r());
    pS = 100 - pL - pM - pT;
    sharesFound = pS >= 10 && pS <= 30;
  }
  if (!sharesFound) return false;

  // 3. Land per class.
  const auto share = [&](double p) {
    return ClassLand{RoundHalfEven(p / 100 * landLo), RoundHalfEven(p / 100 * landHi)};
  };
  ClassLand large = share(pL), medium = share(pM), small = share(pS);
  const ClassLand tiny = share(pT);

  // 4. No room for Large: its land goes to Medium and Small in the ratio of their shares.
  if (large.lo < kMinLargeLand) {
    const double toMedium = pM / (pM + pS), toSmall = pS / (pM + pS);
    medium.lo = RoundHalfEven(toMedium * large.lo + medium.lo);
    medium.hi = RoundHalfEven(toMedium * large.hi + medium.hi);
    small.lo = RoundHalfEven(toSmall * large.lo + small.lo);
    small.hi = RoundHalfEven(toSmall * large.hi + small.hi);
    large = ClassLand{};
  }
  // 5. No room for Medium: its land goes to Small.
  if (medium.lo < kMinMediumLand) {
    small.lo += medium.lo;
    small.hi += medium.hi;
    medium = ClassLand{};
  }

  // 6. Numbers and sizes. A division by zero (one Small mass at most, and its Lo number
  // rounded to 0) ends the attempt as a failed one.
  const auto numberLoOf = [&](double numberHi) {
    return RoundHalfEven((std::floor(51 * r()) + 50) / 100 * numberHi);
  };
  ClassFigures L, M, S;
  bool found = false;
  for (int attempt = 0; attempt < kMaxAttempts && !found; ++attempt) {
    if (large.Empty()) {
      L = ClassFigures{0, 0, 800, 1000};
    } else {
      const double maxL = std::min(std::floor(large.lo / 200), 8.0);
      L.numberHi = std::floor(maxL * r()) + 1;
      L.numberLo = numberLoOf(L.numberHi);
      if (L.numberLo == 0) L.numberLo = 1;
      L.sizeHi = RoundHalfEven(large.hi / L.numberHi);
      L.sizeLo = RoundHalfEven(large.lo / L.numberLo);
    }

    if (medium.Empty()) {
      M = ClassFigures{0, 0, 200, 500};
    } else {
      const std::optional<double> perCap = Divide(medium.hi, std::min(L.sizeLo, 600.0));
      if (!perCap) continue;
      const double minM = std::max(std::floor(*perCap), 8.0);
      const double maxM = std::min(std::floor(medium.lo / 100), 20.0);
      M.numberHi = std::floor(r() * (maxM - minM + 1)) + minM;
      M.numberLo = numberLoOf(M.numberHi);
      const std::optional<double> hi = Divide(medium.hi, M.numberHi);
      const std::optional<double> lo = Divide(medium.lo, M.numberLo);
      if (!hi || !lo) continue;
      M.sizeHi = RoundHalfEven(*hi);
      M.sizeLo = RoundHalfEven(*lo);
    }

    {
      const std::optional<double> perCap = Divide(small.hi, std::min(M.sizeLo, 150.0));
      if (!perCap) continue;
      const double minS = std::max(std::floor(*perCap), 10.0);
      const double maxS = std::min(std::floor(small.lo / 15), 40.0);
      S.numberHi = std::floor(r() * (maxS - minS + 1)) + minS;
      S.numberLo = numberLoOf(S.numberHi);
      const std::optional<double> hi = Divide(small.hi, S.numberHi);
      const std::optional<double> lo = Divide(small.lo, S.numberLo);
      if (!hi || !lo) continue;
      S.sizeHi = RoundHalfEven(*hi);
      S.sizeLo = RoundHalfEven(*lo);
    }

    found = L.sizeHi > L.sizeLo && L.sizeLo > M.sizeHi && M.sizeHi > M.sizeLo &&
            M.sizeLo > S.sizeHi && S.sizeHi > S.sizeLo;
  }
  if (!found) return false;

  // 7. The land-mass fields; the sea borders (4, 5, 10, 11, 16, 17) keep their values.
  const auto write = [this](int index, double value) { SetNumberText(Box("txtLandMass", index), value); };
  const ClassFigures* rows[] = {&L, &M, &S};
  for (int row = 0; row < 3; ++row) {
    write(6 * row + 0, rows[row]->numberLo);
    write(6 * row + 1, rows[row]->numberHi);
    write(6 * row + 2, rows[row]->sizeLo);
    write(6 * row + 3, rows[row]->sizeHi);
  }
  write(18, tiny.lo);
  write(19, tiny.hi);
  for (const auto& [name, index] : kRecommendClearedBoxes) Box(name, index).SetValue(0);
  return true;
}

bool ParameterForm::Recommend(std::string& failureMessage) {
  const bool recommended = DrawRecommendation();
  if (!recommended) failureMessage = kRecommendFailedMessage;
  ShowLandFigure();
  return recommended;
}

bool ParameterForm::cmdDefaults_Click() {
  const bool recommended = DrawRecommendation();
  if (!recommended)
    env_.platform.MessageBox(kRecommendFailedMessage, platform::MessageButtons::kOk);
  ShowLandFigure();
  return recommended;
}

}  // namespace lorvex::params
