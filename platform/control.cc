#include "platform/control.h"

#include <stdexcept>

namespace lorvex::platform {

bool IsParameterKind(ControlKind kind) {
  return kind == ControlKind::kNumberBox || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kSelectionBox;
}

Control::Control(ControlKind kind, std::string name, int index)
    : kind_(kind), name_(std::move(name)), index_(index) {}

std::string Control::Key() const { return name_ + "(" + std::to_string(index_) + ")"; }

void Control::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Fire(onClick_);
}

void Control::SetListIndex(int listIndex) {
  if (listIndex == listIndex_) return;
  listIndex_ = listIndex;
  Fire(onClick_);
}

void Control::SetText(std::string_view text) { text_.assign(text.substr(0, kMostTextLength)); }

void Control::Type(std::string_view text) {
  if (maxLength_ > 0 && text.size() > static_cast<std::size_t>(maxLength_))
    text = text.substr(0, static_cast<std::size_t>(maxLength_));
  SetText(text);
}

void Control::SetMaxLength(int maxLength) { maxLength_ = maxLength < 0 ? 0 : maxLength; }

void Control::Click() { Fire(onClick_); }

void Control::LoseFocus() { Fire(onLostFocus_); }

Control& ControlSet::Add(ControlKind kind, std::string name, int index) {
  Control& control = controls_.emplace_back(kind, name, index);
  byKey_[{std::move(name), index}] = &control;
  return control;
}

Control* ControlSet::Find(std::string_view name, int index) {
  const auto it = byKey_.find(std::pair<std::string, int>(std::string(name), index));
  return it == byKey_.end() ? nullptr : it->second;
}

const Control* ControlSet::Find(std::string_view name, int index) const {
  const auto it = byKey_.find(std::pair<std::string, int>(std::string(name), index));
  return it == byKey_.end() ? nullptr : it->second;
}

Control& ControlSet::At(std::string_view name, int index) {
  Control* control = Find(name, index);
  if (control == nullptr)
    throw std::logic_error("no control " + std::string(name) + "(" + std::to_string(index) + ")");
  return *control;
}

const Control& ControlSet::At(std::string_view name, int index) const {
  return const_cast<ControlSet*>(this)->At(name, index);
}

void ControlSet::OnClick(std::string_view name, const Control::Action& action) {
  for (Control* control : Array(name)) control->OnClick(action);
}

void ControlSet::OnLostFocus(std::string_view name, const Control::Action& action) {
  for (Control* control : Array(name)) control->OnLostFocus(action);
}

std::vector<Control*> ControlSet::Array(std::string_view name) {
  std::vector<Control*> out;
  for (auto it = byKey_.lower_bound(std::pair<std::string, int>(std::string(name), INT32_MIN));
       it != byKey_.end() && it->first.first == name; ++it)
    out.push_back(it->second);
  return out;
}

}  // namespace lorvex::platform
