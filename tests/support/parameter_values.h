// The values of a window's 103 parameter controls, for comparing two windows: each number
// box's text, check box's value and selection box's list index, keyed Name(Index), in
// control order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/control.h"
#include "support/fuzz_input.h"

namespace lorvex::checks {

using ParameterValues = std::vector<std::pair<std::string, std::string>>;

ParameterValues ReadParameterValues(const platform::ControlSet& controls);

// Every parameter control back to the window's own default, so that a default settings file
// in the working folder cannot change a build. A selection box without an item gets its
// first.
void ApplyWindowDefaults(platform::ControlSet& controls);

// The values a window holds after loading what Save Settings wrote from a window holding
// `saved`: the same, but for one case. A file may set an edge option grey (2) after checking
// the other one; the saved file lists chkLandPlace(1) before chkLandPlace(2), so loading it
// checks (2) after the grey (1), and checking an edge option unchecks the other.
ParameterValues ValuesAfterReload(ParameterValues saved);

// The build shapes every mass it draws as drawn, placed or not, whatever the map's size, so
// the largest figures mean hours of building, days under the sanitizers. The generated
// parameter sets of the stress test and the build fuzz target give figures asking for more
// shaping work than this (the defaults ask for about 30 thousand) back to the window's
// defaults; the extremes tests build the largest figures a person can type.
inline constexpr double kMostShapingWork = 100'000;
bool AsksTooMuchShaping(const std::vector<std::string>& landMassTexts, double squares);

// A city the stage cannot place still takes its 51 tries, and the engine plans up to 2^25
// cities: seconds of drawing. The generated parameter sets give city figures back to the
// window's defaults when the Number boxes (txtCities(0), (1)) ask for more cities than
// this, or a per-mass box (txtPlace1(0 .. 3), a percentage or a count for every mass) for
// more than a thousandth of it.
inline constexpr double kMostCitiesAsked = 100'000;
bool AsksTooManyCities(const std::vector<std::string>& numberTexts,
                       const std::vector<std::string>& perMassTexts);

// Every parameter control from the bytes: any text a box can hold (set as a program sets
// it), any check-box state (grey included) and any list index (none included). Land figures
// asking for more shaping than kMostShapingWork of a map of `squares` squares, and city
// figures asking for more cities than kMostCitiesAsked, then give way to the defaults.
void FillParameters(fuzzing::FuzzInput& in, platform::ControlSet& controls, double squares);

// The first control whose value differs, as "Name(Index): a | b", or "" when all agree.
std::string FirstDifference(const ParameterValues& a, const ParameterValues& b);

}  // namespace lorvex::checks
