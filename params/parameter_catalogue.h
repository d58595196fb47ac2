// What each of the 103 parameter fields of the window means: its page, the label the window
// shows for it, what it does in a build, the values it holds and its default. The one table
// that the C interface (lorvex_parameter_info), clsBuild, the Python package, `lorvex
// settings --list` and the README's table of fields all read.
#pragma once

#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace lorvex::params {

inline constexpr double kNoBound = std::numeric_limits<double>::infinity();

struct ParameterInfo {
  const char* name;  // the control array, e.g. "txtLandMass"
  int index;         // the element; Name(Index) is the field's key
  int page;          // the tab it is on, 1 to 6 (kTabCaptions)
  // The texts the window shows for the field, " / " between them: a check box's caption; a
  // number or selection box's heading, row and column heads ("Large / Number on Map / Lo").
  const char* label;
  const char* meaning;  // what it does in a build (or that it takes no part in one)
  // The values it holds: a number box is held to minimum .. maximum by the window's
  // validator when it loses the focus, however the value came (typed, loaded, set by a
  // host); kNoBound where the validator sets no bound (a person's typing is still bounded
  // by the box's length). A check box holds 0 (unchecked), 1 (checked) or 2 (grey, which
  // counts as unchecked); a selection box its item 0 to 2, or -1 for none.
  double minimum;
  double maximum;
  const char* rangeNote;     // what else holds it (another field), or ""
  const char* defaultValue;  // in a fresh window, as a settings file writes it
};

// The 103 fields in the window's order (the order of lorvex_parameter_name).
std::span<const ParameterInfo> ParameterCatalogue();
// The field with this key Name(Index), or nullptr.
const ParameterInfo* FindParameterInfo(std::string_view key);

// Its key, "txtLandMass(0)". Lives as long as the program.
const std::string& ParameterKey(const ParameterInfo& info);
// The caption of the field's page ("Land Masses").
const char* PageCaption(const ParameterInfo& info);
// The values it holds in words, with what a person can type where the validator sets no
// upper bound: "1 to 100", "0 or more (typed: 0 to 999), not below txtLandMass(0)",
// "0 unchecked, 1 checked (2 grey counts as unchecked)", "item 0 to 2 (-1 none)". The
// text lives as long as the program.
const std::string& RangeText(const ParameterInfo& info);
// The minimum or maximum as text: "" for kNoBound. Lives as long as the program.
const std::string& BoundText(const ParameterInfo& info, bool maximum);

}  // namespace lorvex::params
