#include "platform/control.h"

#include <algorithm>
#include <cstring>
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

std::size_t HashName(std::string_view name) {
  const std::size_t n = name.size();
  std::uint64_t head = 0, tail = 0;
  std::memcpy(&head, name.data(), std::min<std::size_t>(n, 8));
  if (n > 8) std::memcpy(&tail, name.data() + n - 8, 8);
  std::uint64_t h = (head ^ (tail * 0x9e3779b97f4a7c15ULL) ^ n) * 0xff51afd7ed558ccdULL;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace

ControlSet::Named* ControlSet::FindNamed(std::string_view name) {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = HashName(name) & mask; slots_[i] >= 0; i = (i + 1) & mask) {
    Named& named = named_[static_cast<std::size_t>(slots_[i])];
    if (named.name == name) return &named;
  }
  return nullptr;
}

ControlSet::Named& ControlSet::NamedFor(std::string name) {
  if (Named* named = FindNamed(name)) return *named;
  if (2 * (named_.size() + 1) > slots_.size()) {
    // Twice the room, and every name placed again.
    slots_.assign(std::max<std::size_t>(64, 2 * slots_.size()), -1);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t k = 0; k < named_.size(); ++k) {
      std::size_t i = HashName(named_[k].name) & mask;
      while (slots_[i] >= 0) i = (i + 1) & mask;
      slots_[i] = static_cast<std::int32_t>(k);
    }
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = HashName(name) & mask;
  while (slots_[i] >= 0) i = (i + 1) & mask;
  slots_[i] = static_cast<std::int32_t>(named_.size());
  return named_.emplace_back(Named{std::move(name), {}});
}

Control& ControlSet::Add(ControlKind kind, std::string name, int index) {
  Control& control = controls_.emplace_back(kind, name, index);
  std::vector<Control*>& array = NamedFor(std::move(name)).elements;
  const auto at = Place(array, index);
  // A second control of the same name and index takes the first one's place.
  if (at != array.end() && (*at)->Index() == index)
    *at = &control;
  else
    array.insert(at, &control);
  return control;
}

Control* ControlSet::Find(std::string_view name, int index) {
  Named* named = FindNamed(name);
  if (named == nullptr) return nullptr;
  const auto at = Place(named->elements, index);
  return at != named->elements.end() && (*at)->Index() == index ? *at : nullptr;
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
  const Named* named = FindNamed(name);
  return named == nullptr ? kNone : named->elements;
}

}  // namespace lorvex::platform
