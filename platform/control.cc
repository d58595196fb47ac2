#include "platform/control.h"

#include <algorithm>
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

namespace {

// The element with the index in an array kept in index order, or its place.
std::vector<Control*>::iterator Place(std::vector<Control*>& array, int index) {
  return std::lower_bound(array.begin(), array.end(), index,
                          [](const Control* c, int i) { return c->Index() < i; });
}

}  // namespace

Control& ControlSet::Add(ControlKind kind, std::string name, int index) {
  Control& control = controls_.emplace_back(kind, name, index);
  std::vector<Control*>& array = byName_[std::move(name)];
  const auto at = Place(array, index);
  // A second control of the same name and index takes the first one's place.
  if (at != array.end() && (*at)->Index() == index)
    *at = &control;
  else
    array.insert(at, &control);
  return control;
}

Control* ControlSet::Find(std::string_view name, int index) {
  const auto named = byName_.find(name);
  if (named == byName_.end()) return nullptr;
  const auto at = Place(named->second, index);
  return at != named->second.end() && (*at)->Index() == index ? *at : nullptr;
}

const Control* ControlSet::Find(std::string_view name, int index) const {
  return const_cast<ControlSet*>(this)->Find(name, index);
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

const std::vector<Control*>& ControlSet::Array(std::string_view name) {
  static const std::vector<Control*> kNone;
  const auto named = byName_.find(name);
  return named == byName_.end() ? kNone : named->second;
}

}  // namespace lorvex::platform
