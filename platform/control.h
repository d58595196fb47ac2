// The window's controls as plain data: number boxes, check boxes, selection boxes, labels,
// frames, buttons, pictures and the timer, each an element of a control array addressed
// Name(Index), kept in the window's control order.
//
// Setting a check box's Value or a selection box's ListIndex to a new value fires the
// control's click action, whether the user or the code changed it; setting it to the value
// it already has fires nothing. Focus-lost is fired by whoever moves the focus.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rgb.h"

namespace lorvex::platform {

enum class ControlKind {
  kNumberBox,     // txt: Text holds the value
  kCheckBox,      // chk: Value 0 or 1
  kSelectionBox,  // cbo: ListIndex into Items, -1 = nothing selected
  kLabel,         // lbl
  kFrame,         // fra
  kButton,        // cmd
  kPicture,       // pic
  kImage,         // img
  kLine,          // shp
  kTimer,         // tmr
};

// The three kinds whose state is a parameter of the build and a line of a settings file.
bool IsParameterKind(ControlKind kind);

class Control {
 public:
  using Action = std::function<void(int index)>;

  Control(ControlKind kind, std::string name, int index);

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  // "Name(Index)", the key of the settings file and of the parameter view.
  std::string Key() const;

  // Value and ListIndex fire the click action when they change.
  int Value() const { return value_; }
  void SetValue(int value);
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int listIndex);

  // MaxLength limits what a person types (0 = no limit). A text the program sets is held
  // as it is: Recommend writes figures longer than a box's typing limit on large maps, and a
  // settings file hands its values over unchanged. Only kMostTextLength characters are kept,
  // so no text can grow without bound.
  static constexpr std::size_t kMostTextLength = 1024;
  const std::string& Text() const { return text_; }
  void SetText(std::string_view text);
  // A person typing the text into the box: cut to MaxLength characters.
  void Type(std::string_view text);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int maxLength);

  // A user's click on a button, label or image (fires the click action unconditionally).
  void Click();
  void LoseFocus();

  void OnClick(Action action) { onClick_ = std::move(action); }
  void OnLostFocus(Action action) { onLostFocus_ = std::move(action); }

  // Plain properties with no events.
  std::string caption;
  bool enabled = true;
  bool visible = true;
  bool locked = false;
  bool tabStop = true;
  bool bold = false;
  Rgb backColor{255, 255, 255};
  std::string tag;
  std::vector<std::string> items;
  int page = 0;  // tab page (1..6) the control lies on; 0 = outside the pages

 private:
  void Fire(const Action& action) const {
    if (action) action(index_);
  }

  ControlKind kind_;
  std::string name_;
  int index_;
  std::string text_;
  int value_ = 0;
  int listIndex_ = -1;
  int maxLength_ = 0;
  Action onClick_;
  Action onLostFocus_;
};

// Every control of one window in control order. Controls never move once added, so
// references stay valid for the life of the set.
class ControlSet {
 public:
  Control& Add(ControlKind kind, std::string name, int index);

  Control* Find(std::string_view name, int index);
  const Control* Find(std::string_view name, int index) const;
  // The control must exist (a wrong name in the code is a programming fault).
  Control& At(std::string_view name, int index);
  const Control& At(std::string_view name, int index) const;

  // Sets the click or focus-lost action of every element of one control array.
  void OnClick(std::string_view name, const Control::Action& action);
  void OnLostFocus(std::string_view name, const Control::Action& action);

  // The elements of one control array in index order (none for a name no control has).
  const std::vector<Control*>& Array(std::string_view name);

  // The walk over every control in control order.
  const std::deque<Control>& All() const { return controls_; }
  std::deque<Control>& All() { return controls_; }

 private:
  // One control array: its name and its elements in index order.
  struct Named {
    std::string name;
    std::vector<Control*> elements;
  };
  Named* FindNamed(std::string_view name);
  Named& NamedFor(std::string name);

  std::deque<Control> controls_;
  // The control arrays in order of their first element, and an index of them by name: open
  // addressing over a power-of-two table at most half full, whose hash reads a name's
  // length and first and last eight letters, so that a lookup (the parameter view reads
  // fields by name throughout a build) is a few instructions and one or two compares.
  std::deque<Named> named_;
  std::vector<std::int32_t> slots_;  // a position in named_, or -1 for an empty slot
};

}  // namespace lorvex::platform
