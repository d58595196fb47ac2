// The values of a window's 103 parameter controls, for comparing two windows: each number
// box's text, check box's value and selection box's list index, keyed Name(Index), in
// control order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/control.h"

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

// The shaping work, in squares, that the land-mass texts ask of a map of `squares` squares,
// each figure held as the build holds it (counts, sizes and sea borders to the engine's
// bounds, the tiny islands to the map, whose sea they cannot outgrow): for each size class
// the larger count times the squares of a canvas of the larger size ringed by the larger
// border, plus 24 a mass (every mass costs at least a few drawings), and the larger
// tiny-island figure.
double ShapingWorkAsked(const std::vector<std::string>& landMassTexts, double squares);

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

// The first control whose value differs, as "Name(Index): a | b", or "" when all agree.
std::string FirstDifference(const ParameterValues& a, const ParameterValues& b);

}  // namespace lorvex::checks
