// Fuzz target: bytes choose a map size (1 .. 64 each way), the wrap flag, every parameter
// control and a seed; the Build button is pressed and the world must keep its invariants.
// The build must end within a budget of yields (a hang is a finding).
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/headless_platform.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace {

// Far more yields than any build of a 64 x 64 map needs.
constexpr long long kYieldBudget = 20'000'000;

void FillParameters(lorvex::platform::ControlSet& controls, lorvex::fuzzing::FuzzInput& in) {
  using lorvex::platform::ControlKind;
  for (lorvex::platform::Control& c : controls.All()) {
    switch (c.Kind()) {
      case ControlKind::kNumberBox: c.SetText(in.Text(c.MaxLength() > 0 ? c.MaxLength() : 4)); break;
      case ControlKind::kCheckBox: c.SetValue(in.Byte() % 2); break;
      case ControlKind::kSelectionBox: c.SetListIndex(in.Range(-1, 2)); break;
      default: break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lorvex::fuzzing::FuzzInput in(data, size);
  const int width = in.Range(1, 64), height = in.Range(1, 64);
  const bool wrap = in.Byte() % 2 == 1;
  const std::uint64_t seed = in.Word();

  lorvex::platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(lorvex::platform::MessageAnswer::kYes);
  platform.OnYield([&](lorvex::platform::Window&) {
    if (platform.YieldCount() > kYieldBudget) {
      std::fprintf(stderr, "the build did not end within %lld yields\n", kYieldBudget);
      std::abort();
    }
  });
  lorvex::ui::frmBuild window(platform);
  window.SetSeed(seed);
  bool evenSpacing = false;
  platform.AddModalAction([&](lorvex::platform::Window& w) {
    auto& form = static_cast<lorvex::ui::frmBuild&>(w);
    FillParameters(form.Controls(), in);
    form.Controls().At("cmdBuild", 0).Click();
    evenSpacing = form.Controls().At("chkLandPlace", 0).Value() == 1;
  });
  lorvex::HostWorld out;
  window.GetMap(width, height, wrap, out);
  lorvex::checks::InvariantOptions options;
  options.evenSpacing = evenSpacing;
  const std::string broken = lorvex::checks::CheckWorld(window.World(), options);
  if (!broken.empty()) {
    std::fprintf(stderr, "broken world: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
