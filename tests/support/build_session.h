// One host-style session of the parameters window for the robustness tests: the window is
// opened for a map, parameters are set as a script says, Build is pressed (optionally with
// a key press at a chosen yield answered Yes, which stops the build), and what the window
// answered is recorded with the world it left. A budget of yields bounds every build: a
// build that reaches it is stopped and reported, so a runaway build fails the test instead
// of running for ever.
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
  // Sets the parameters before Build is pressed.
  std::function<void(platform::ControlSet&)> setParameters;
  // A key pressed during this yield of the build (0 = none); its stop question is answered
  // Yes. The land warning, if any, is answered Yes too.
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
