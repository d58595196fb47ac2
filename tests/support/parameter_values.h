// A window's parameter controls as values (text, check value or list index) keyed
// Name(Index) in control order, and the parameter sets of the generated tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/control.h"
#include "support/fuzz_input.h"

namespace lorvex::checks {

using ParameterValues = std::vector<std::pair<std::string, std::string>>;

ParameterValues ReadParameterValues(const platform::ControlSet& controls);

// Every parameter control back to the window's default (a selection box to its first item),
// so that a default settings file in the working folder cannot change a build.
void ApplyWindowDefaults(platform::ControlSet& controls);

// What a window holds after loading a save of `saved`: the same, but a grey chkLandPlace(1)
// with (2) checked loads unchecked (checking (2) after it unchecks the other edge option).
ParameterValues ValuesAfterReload(ParameterValues saved);

// Every mass drawn is shaped, placed or not, so the largest figures take hours: generated
// land figures asking for more shaping work than this (the defaults ask about 30 thousand)
// give way to the defaults. The extremes tests build the largest a person can type.
inline constexpr double kMostShapingWork = 100'000;
bool AsksTooMuchShaping(const std::vector<std::string>& landMassTexts, double squares);

// A city that cannot be placed still takes its 51 tries: generated city figures give way to
// the defaults when txtCities(0), (1) ask for more cities than this, or a txtPlace1 box (a
// share or a count for every mass) for more than a thousandth of it.
inline constexpr double kMostCitiesAsked = 100'000;
bool AsksTooManyCities(const std::vector<std::string>& numberTexts,
                       const std::vector<std::string>& perMassTexts);

// Every parameter control from the bytes: any text a box can hold, any check-box state (grey
// included), any list index (none included); then the give-way rules above.
void FillParameters(fuzzing::FuzzInput& in, platform::ControlSet& controls, double squares);

// The first control whose value differs, as "Name(Index): a | b", or "" when all agree.
std::string FirstDifference(const ParameterValues& a, const ParameterValues& b);

}  // namespace lorvex::checks
