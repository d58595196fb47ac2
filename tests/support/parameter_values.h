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

// The first control whose value differs, as "Name(Index): a | b", or "" when all agree.
std::string FirstDifference(const ParameterValues& a, const ParameterValues& b);

}  // namespace lorvex::checks
