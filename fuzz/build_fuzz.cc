// Fuzz target: bytes choose a map size (1 .. 64 each way), the wrap flag, watch mode, every
// parameter control (any text a box can hold, any check-box or list state) and a seed; the
// Build button is pressed. Either the window refuses the parameters with one of its
// messages, or the build runs to its end within a budget of yields (a hang is a finding)
// and the world keeps its invariants.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "params/build_parameters.h"
#include "platform/headless_platform.h"
#include "support/parameter_values.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace {

// Far more yields than any build of the figures HoldShapingWork and HoldCityCount let
// through needs (a few million at the most), watch-mode pauses included.
constexpr long long kYieldBudget = 20'000'000;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

void FillParameters(lorvex::platform::ControlSet& controls, lorvex::fuzzing::FuzzInput& in) {
  using lorvex::platform::ControlKind;
  for (lorvex::platform::Control& c : controls.All()) {
    switch (c.Kind()) {
      case ControlKind::kNumberBox:
        c.SetText(in.FieldText(c.MaxLength(), lorvex::platform::Control::kMostTextLength));
        break;
      case ControlKind::kCheckBox: c.SetValue(in.Byte() % 3); break;  // 2 is a grey box
      case ControlKind::kSelectionBox: c.SetListIndex(in.Range(-1, 2)); break;
      default: break;
    }
  }
}

// With LORVEX_FUZZ_SHOW set, an input's build is printed before it runs: the map and seed,
// then the parameters as lines of a settings file, so that a finding can be run again with
// the command-line tool and kept as a test.
void Show(const lorvex::platform::ControlSet& controls, int width, int height, bool wrap, bool watch,
          std::uint64_t seed) {
  std::fprintf(stderr, "map %d x %d%s%s, seed %llu\n", width, height, wrap ? ", wrapping" : "",
               watch ? ", watch mode" : "", static_cast<unsigned long long>(seed));
  for (const auto& [key, value] : lorvex::checks::ReadParameterValues(controls))
    std::fprintf(stderr, "%s = %s\n", key.c_str(), value.c_str());
}

// Land figures asking for too much shaping give way to the window's defaults.
void HoldShapingWork(lorvex::platform::ControlSet& controls, int width, int height) {
  std::vector<std::string> texts;
  for (int i = 0; i < 20; ++i) texts.push_back(controls.At("txtLandMass", i).Text());
  if (!lorvex::checks::AsksTooMuchShaping(texts, static_cast<double>(width) * height)) return;
  const lorvex::platform::ControlSet defaults = lorvex::params::CreateWindowControls();
  for (int i = 0; i < 20; ++i) controls.At("txtLandMass", i).SetText(defaults.At("txtLandMass", i).Text());
}

// City figures asking for too many cities give way to the window's defaults.
void HoldCityCount(lorvex::platform::ControlSet& controls) {
  std::vector<std::string> numbers, perMass;
  for (int i = 0; i < 2; ++i) numbers.push_back(controls.At("txtCities", i).Text());
  for (int i = 0; i < 4; ++i) perMass.push_back(controls.At("txtPlace1", i).Text());
  if (!lorvex::checks::AsksTooManyCities(numbers, perMass)) return;
  const lorvex::platform::ControlSet defaults = lorvex::params::CreateWindowControls();
  for (int i = 0; i < 2; ++i) controls.At("txtCities", i).SetText(defaults.At("txtCities", i).Text());
  for (int i = 0; i < 4; ++i) controls.At("txtPlace1", i).SetText(defaults.At("txtPlace1", i).Text());
}

bool IsRefusal(const std::string& text) {
  return text == "Please Select at least One Building Algorithm" ||
         text == "Shapes Algorithm is Selected, Please Select at least One Shape";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lorvex::fuzzing::FuzzInput in(data, size);
  const int width = in.Range(1, 64), height = in.Range(1, 64);
  const std::uint8_t flags = in.Byte();
  const bool wrap = (flags & 1) != 0, watch = (flags & 2) != 0;
  const std::uint64_t seed = in.Word();

  lorvex::platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(lorvex::platform::MessageAnswer::kYes);  // the land warning
  platform.OnYield([&](lorvex::platform::Window&) {
    if (platform.YieldCount() > kYieldBudget)
      Fail("the build did not end within " + std::to_string(kYieldBudget) + " yields");
  });
  lorvex::ui::frmBuild window(platform);
  window.SetSeed(seed);
  bool evenSpacing = false;
  platform.AddModalAction([&](lorvex::platform::Window& w) {
    auto& form = static_cast<lorvex::ui::frmBuild&>(w);
    FillParameters(form.Controls(), in);
    HoldShapingWork(form.Controls(), width, height);
    HoldCityCount(form.Controls());
    if (std::getenv("LORVEX_FUZZ_SHOW") != nullptr) Show(form.Controls(), width, height, wrap, watch, seed);
    if (watch) form.Form_KeyDown(lorvex::platform::kKeyF5, lorvex::platform::kShiftAlt);
    form.Controls().At("cmdBuild", 0).Click();
    evenSpacing = form.Controls().At("chkLandPlace", 0).Value() == 1;
  });
  lorvex::HostWorld out;
  const bool built = window.GetMap(width, height, wrap, out);
  if (std::getenv("LORVEX_FUZZ_SHOW") != nullptr)
    std::fprintf(stderr, "%s after %lld yields\n", built ? "built" : "not built", platform.YieldCount());
  if (!built) {
    // Nothing stops the build, so only a refusal may keep it from its end.
    const auto& messages = platform.Messages();
    if (messages.empty() || !IsRefusal(messages.back().text))
      Fail("the build neither ended nor was refused");
    return 0;
  }
  lorvex::checks::InvariantOptions options;
  options.evenSpacing = evenSpacing;
  const std::string broken = lorvex::checks::CheckWorld(window.World(), options);
  if (!broken.empty()) Fail("broken world: " + broken);
  if (out.MapArray.Width() != width || out.MapArray.Height() != height)
    Fail("the host's map does not have the map's size");
  return 0;
}
