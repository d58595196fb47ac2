// Fuzz target: bytes choose a map size (1 .. 64 each way), the wrap flag, watch mode, every
// parameter control and a seed, and Build is pressed: the window refuses the parameters, or
// the build ends within a budget of yields (a hang is a finding) keeping the invariants.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/build_session.h"
#include "support/fuzz_input.h"
#include "support/parameter_values.h"

namespace {

using lorvex::fuzzing::Fail;

// Far more yields than any build of the figures FillParameters lets through needs (a few
// million at the most), watch-mode pauses included.
constexpr long long kYieldBudget = 20'000'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lorvex::fuzzing::FuzzInput in(data, size);
  lorvex::checks::SessionPlan plan;
  plan.width = in.Range(1, 64);
  plan.height = in.Range(1, 64);
  const std::uint8_t flags = in.Byte();
  plan.wrap = (flags & 1) != 0;
  plan.watch = (flags & 2) != 0;
  plan.seed = in.Word();
  plan.yieldBudget = kYieldBudget;
  // With LORVEX_FUZZ_SHOW set, an input's build is printed before it runs, the parameters as
  // lines of a settings file, so that a finding can be run again and kept as a test.
  const bool show = std::getenv("LORVEX_FUZZ_SHOW") != nullptr;
  plan.setParameters = [&](lorvex::platform::ControlSet& controls) {
    lorvex::checks::FillParameters(in, controls, static_cast<double>(plan.width) * plan.height);
    if (!show) return;
    std::fprintf(stderr, "map %d x %d%s%s, seed %llu\n", plan.width, plan.height, plan.wrap ? ", wrapping" : "",
                 plan.watch ? ", watch mode" : "", static_cast<unsigned long long>(plan.seed));
    for (const auto& [key, value] : lorvex::checks::ReadParameterValues(controls))
      std::fprintf(stderr, "%s = %s\n", key.c_str(), value.c_str());
  };
  const lorvex::checks::SessionResult result = lorvex::checks::RunSession(plan);
  if (show) std::fprintf(stderr, "%s after %lld yields\n", result.answer ? "built" : "not built", result.yields);
  if (result.overBudget) Fail("the build did not end within " + std::to_string(kYieldBudget) + " yields");
  if (!result.broken.empty()) Fail("broken world: " + result.broken);
  // Nothing stops the build, so only a refusal may keep it from its end.
  if (!result.answer && !result.refused) Fail("the build neither ended nor was refused");
  return 0;
}
