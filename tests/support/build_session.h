// One host-style session of the parameters window, as SessionPlan says, recorded with the
// world it left; a build that reaches the yield budget is stopped, so a runaway one fails.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/control.h"

namespace lorvex::checks {

struct SessionPlan {
  std::int32_t width = 10;
  std::int32_t height = 10;
  bool wrap = false;
  bool watch = false;  // Alt+F5 before Build
  std::uint64_t seed = 1;
  std::function<void(platform::ControlSet&)> setParameters;  // before Build is pressed
  // A key pressed during this yield of the build (0 = none); its stop question and any land
  // warning are answered Yes.
  long long stopAtYield = 0;
  // After a stopped build: press Build once more (the person builds again) before Cancel.
  bool buildAgainAfterStop = false;
  long long yieldBudget = 10'000'000;
};

struct SessionResult {
  bool answer = false;       // GetMap's answer, as the host's Build answers it
  bool refused = false;      // Build was pressed and the window showed one of its refusals
  bool stopped = false;      // a build ended by the stop and left the window open
  bool overBudget = false;   // a build reached the yield budget
  long long yields = 0;      // yields of the whole session
  long long landSquares = 0; // land squares of the world the window holds at the end
  std::string broken;        // the first broken rule of a world or of the window, "" if none
};

SessionResult RunSession(const SessionPlan& plan);

}  // namespace lorvex::checks
