#include "host/host_parameters.h"

#include <algorithm>

#include "params/parameter_window.h"

namespace lorvex {

using platform::ControlKind;

namespace {

// A text the host gave, as a message shows it: control characters escaped, and cut short,
// so that a name of a megabyte or one holding a NUL still makes a short, whole message.
std::string Shown(std::string_view text) {
  constexpr std::size_t kMostShown = 60;
  std::string shown = "\"";
  for (std::size_t i = 0; i < text.size() && i < kMostShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      shown += "\\x";
      shown += kHex[c >> 4];
      shown += kHex[c & 15];
    } else {
      shown += static_cast<char>(c);
    }
  }
  shown += text.size() > kMostShown ? "\"... (" + std::to_string(text.size()) + " characters)" : "\"";
  return shown;
}

// "0", "2", "-1": an optional minus and one to nine digits, nothing else.
bool IsPlainWhole(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && text.size() < 10 &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

ParameterFields FieldsOfWindow(const platform::ControlSet& controls) {
  ParameterFields fields;
  for (const platform::Control& control : controls.All())
    if (platform::IsParameterKind(control.Kind()))
      fields.push_back({control.Key(), params::SettingsValue(control), true});
  return fields;
}

HostParameters::HostParameters() { Open(); }
HostParameters::~HostParameters() = default;

void HostParameters::Open() {
  window_ = std::make_unique<params::ParameterWindow>();
  fields_.clear();
  for (platform::Control& control : window_->controls.All())
    if (platform::IsParameterKind(control.Kind())) fields_.push_back(&control);
  if (keys_.empty())
    for (const platform::Control* field : fields_) keys_.push_back(field->Key());
  held_.assign(fields_.size(), false);
}

void HostParameters::Reset() { Open(); }

std::optional<std::size_t> HostParameters::Find(std::string_view key, Outcome& outcome) const {
  // A key is what stands before " = " on a settings line, and nothing else.
  const std::size_t close = key.find(')');
  std::optional<params::SettingsLine> parsed;
  if (key.find('=') == std::string_view::npos && close != std::string_view::npos &&
      close + 1 == key.size())
    parsed = params::ParseSettingsLine(std::string(key) + " = ");
  if (!parsed) {
    outcome = {Status::kUnknownField,
               Shown(key) + " is not a field name: a field is named Name(Index), as in txtLandMass(2)"};
    return std::nullopt;
  }
  const std::string normal = parsed->name + "(" + std::to_string(parsed->index) + ")";
  const auto at = std::find(keys_.begin(), keys_.end(), normal);
  if (at != keys_.end()) return static_cast<std::size_t>(at - keys_.begin());
  // Known array, wrong index: name the indexes it has.
  int lowest = 0, highest = -1;
  for (const platform::Control* field : fields_)
    if (field->Name() == parsed->name) {
      if (highest < lowest) lowest = highest = field->Index();
      lowest = std::min(lowest, field->Index());
      highest = std::max(highest, field->Index());
    }
  outcome = {Status::kUnknownField,
             highest < lowest ? "no parameter field is named " + Shown(parsed->name)
                              : Shown(key) + ": " + parsed->name + " has the fields " + std::to_string(lowest) +
                                    " to " + std::to_string(highest)};
  return std::nullopt;
}

Outcome HostParameters::Set(std::string_view key, std::string_view value) {
  Outcome outcome;
  const std::optional<std::size_t> at = Find(key, outcome);
  if (!at) return outcome;
  const std::string& name = keys_[*at];
  if (value.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos)
    return {Status::kBadValue,
            name + " = " + Shown(value) + ": a value is one line of text, without a line end or NUL"};
  platform::Control& field = *fields_[*at];
  // A host's value for a check box or a selection box is its number, written plainly
  // ("1", "-1"): a word such as "true" would be read as 0 by a settings file's rule.
  const bool plainNumber = field.Kind() == ControlKind::kNumberBox || IsPlainWhole(value);
  if (!plainNumber || !window_->form.ApplySetting(field.Name(), field.Index(), std::string(value)))
    return {Status::kBadValue,
            name + " takes " +
                (field.Kind() == ControlKind::kCheckBox ? "0, 1 or 2 (grey)" : "an item from -1 (none) to 2") +
                ", not " + Shown(value)};
  // A number box is then checked as the window checks it when the person leaves it.
  if (field.Kind() == ControlKind::kNumberBox) field.LoseFocus();
  held_[*at] = true;
  const std::string now = params::SettingsValue(field);
  if (now == value) return {};
  return {Status::kAdjusted, name + " = " + Shown(value) + " is held to " + Shown(now)};
}

Outcome HostParameters::Get(std::string_view key, std::string& value) const {
  Outcome outcome;
  const std::optional<std::size_t> at = Find(key, outcome);
  if (at) value = params::SettingsValue(*fields_[*at]);
  return outcome;
}

Outcome HostParameters::Load(const std::string& path) {
  std::vector<params::SettingsLine> lines;
  std::string error;
  if (!params::ReadSettingsFile(path, lines, error))
    return {Status::kFileError, "cannot read settings file " + path + ": " + error};
  Apply(lines);
  return {};
}

Outcome HostParameters::LoadText(std::string_view text) {
  Apply(params::ParseSettingsText(text.substr(0, params::kMaxSettingsBytes)));
  return {};
}

void HostParameters::Apply(const std::vector<params::SettingsLine>& lines) {
  for (const params::SettingsLine& line : lines)
    if (window_->form.ApplySetting(line.name, line.index, line.value)) {
      const platform::Control* field = window_->controls.Find(line.name, line.index);
      held_[static_cast<std::size_t>(std::find(fields_.begin(), fields_.end(), field) - fields_.begin())] = true;
    }
  window_->form.RevalidateAll();
}

std::string HostParameters::Text() const { return window_->form.SettingsText(); }

Outcome HostParameters::Save(const std::string& path) const {
  std::string error;
  if (window_->form.WriteSettingsFile(path, error)) return {};
  return {Status::kFileError, params::SaveFailedMessage(path, error)};
}

Outcome HostParameters::Recommend(std::int32_t width, std::int32_t height, const WorldKey& key) {
  window_->width = width;
  window_->height = height;
  window_->random.Seed(key.seed);
  window_->random.Discard(key.draws);
  std::string failure;
  if (!window_->form.Recommend(failure)) return {Status::kNoRecommendation, failure};
  const auto hold = [this](const std::string& key) {
    held_[static_cast<std::size_t>(std::find(keys_.begin(), keys_.end(), key) - keys_.begin())] = true;
  };
  for (const int index : params::kRecommendedLandMassBoxes)
    hold("txtLandMass(" + std::to_string(index) + ")");
  for (const auto& [name, index] : params::kRecommendClearedBoxes)
    hold(std::string(name) + "(" + std::to_string(index) + ")");
  return {};
}

std::string HostParameters::LandFigure(std::int32_t width, std::int32_t height) {
  window_->width = width;
  window_->height = height;
  window_->form.ShowLandFigure();
  return window_->statusBar.Panel(params::kLandFigurePanel).text;
}

ParameterFields HostParameters::Fields() const {
  ParameterFields fields;
  for (std::size_t i = 0; i < fields_.size(); ++i)
    fields.push_back({keys_[i], params::SettingsValue(*fields_[i]), held_[i]});
  return fields;
}

void HostParameters::SetFields(const ParameterFields& fields) {
  Open();
  for (const ParameterField& field : fields) {
    Outcome ignored;
    const std::optional<std::size_t> at = field.held ? Find(field.key, ignored) : std::nullopt;
    if (at && window_->form.ApplySetting(fields_[*at]->Name(), fields_[*at]->Index(), field.value))
      held_[*at] = true;
  }
  window_->form.RevalidateAll();
}

std::vector<params::SettingsLine> HostParameters::HeldLines() const {
  std::vector<params::SettingsLine> lines;
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (held_[i])
      lines.push_back({fields_[i]->Name(), fields_[i]->Index(), params::SettingsValue(*fields_[i])});
  return lines;
}

}  // namespace lorvex
