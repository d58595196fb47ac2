#include "support/parameter_values.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "engine/build_driver.h"
#include "params/build_parameters.h"
#include "shaping/mass_canvas.h"

namespace lorvex::checks {

ParameterValues ReadParameterValues(const platform::ControlSet& controls) {
  ParameterValues values;
  for (const platform::Control& c : controls.All()) {
    if (c.Kind() == platform::ControlKind::kNumberBox) values.emplace_back(c.Key(), c.Text());
    if (c.Kind() == platform::ControlKind::kCheckBox) values.emplace_back(c.Key(), std::to_string(c.Value()));
    if (c.Kind() == platform::ControlKind::kSelectionBox) values.emplace_back(c.Key(), std::to_string(c.ListIndex()));
  }
  return values;
}

void ApplyWindowDefaults(platform::ControlSet& controls) {
  const platform::ControlSet defaults = params::CreateWindowControls();
  for (const platform::Control& d : defaults.All()) {
    if (!platform::IsParameterKind(d.Kind())) continue;
    platform::Control& c = controls.At(d.Name(), d.Index());
    if (d.Kind() == platform::ControlKind::kNumberBox) c.SetText(d.Text());
    if (d.Kind() == platform::ControlKind::kCheckBox) c.SetValue(d.Value());
    if (d.Kind() == platform::ControlKind::kSelectionBox) c.SetListIndex(std::max(d.ListIndex(), 0));
  }
}

ParameterValues ValuesAfterReload(ParameterValues saved) {
  std::string* first = nullptr;
  const std::string* second = nullptr;
  for (auto& [key, value] : saved) {
    if (key == "chkLandPlace(1)") first = &value;
    if (key == "chkLandPlace(2)") second = &value;
  }
  if (first != nullptr && second != nullptr && *first == "2" && *second == "1") *first = "0";
  return saved;
}

namespace {

// The shaping work in squares, each figure held as the build holds it: per size class the
// larger count times (a canvas of the larger size ringed by the larger border + 24), plus
// the larger tiny-island figure.
double ShapingWorkAsked(const std::vector<std::string>& landMassTexts, double squares) {
  const auto box = [&](std::size_t index, double most) {
    return index < landMassTexts.size() ? std::min(std::fabs(ReadFieldNumber(landMassTexts[index])), most) : 0.0;
  };
  double work = std::max(box(18, squares), box(19, squares));
  for (std::size_t s = 0; s < 3; ++s) {
    const double count = std::max(box(6 * s, kMostMassesPerClass), box(6 * s + 1, kMostMassesPerClass));
    const double size = std::max(box(6 * s + 2, shaping::kMostMassSquares), box(6 * s + 3, shaping::kMostMassSquares));
    const double border = std::max(box(6 * s + 4, shaping::kMostPadRings), box(6 * s + 5, shaping::kMostPadRings));
    const double side = std::sqrt(size) + 2 * border + 1;
    work += count * (side * side + 24);
  }
  return work;
}

}  // namespace

bool AsksTooMuchShaping(const std::vector<std::string>& landMassTexts, double squares) {
  return ShapingWorkAsked(landMassTexts, squares) > kMostShapingWork;
}

bool AsksTooManyCities(const std::vector<std::string>& numberTexts,
                       const std::vector<std::string>& perMassTexts) {
  const auto over = [](const std::vector<std::string>& texts, double most) {
    return std::any_of(texts.begin(), texts.end(),
                       [most](const std::string& text) { return std::fabs(ReadFieldNumber(text)) > most; });
  };
  return over(numberTexts, kMostCitiesAsked) || over(perMassTexts, kMostCitiesAsked / 1000);
}

void FillParameters(fuzzing::FuzzInput& in, platform::ControlSet& controls, double squares) {
  for (platform::Control& c : controls.All()) {
    if (c.Kind() == platform::ControlKind::kNumberBox) c.SetText(in.FieldText(c.MaxLength(), platform::Control::kMostTextLength));
    if (c.Kind() == platform::ControlKind::kCheckBox) c.SetValue(in.Byte() % 3);  // 2 is a grey box
    if (c.Kind() == platform::ControlKind::kSelectionBox) c.SetListIndex(in.Range(-1, 2));
  }
  const platform::ControlSet defaults = params::CreateWindowControls();
  const auto texts = [&](const char* name, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(controls.At(name, i).Text());
    return out;
  };
  const auto giveWay = [&](const char* name, int count) {
    for (int i = 0; i < count; ++i) controls.At(name, i).SetText(defaults.At(name, i).Text());
  };
  if (AsksTooMuchShaping(texts("txtLandMass", 20), squares)) giveWay("txtLandMass", 20);
  if (AsksTooManyCities(texts("txtCities", 2), texts("txtPlace1", 4))) {
    giveWay("txtCities", 2);
    giveWay("txtPlace1", 4);
  }
}

std::string FirstDifference(const ParameterValues& a, const ParameterValues& b) {
  if (a.size() != b.size())
    return "the windows have " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
           " parameter controls";
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].first != b[i].first) return "control order differs at " + a[i].first;
    if (a[i].second != b[i].second) return a[i].first + ": \"" + a[i].second + "\" | \"" + b[i].second + "\"";
  }
  return "";
}

}  // namespace lorvex::checks
