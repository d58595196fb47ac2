// The parameter set of a build: every control of the parameters window with its name,
// index, kind, caption, default, Tag, maximum length, item list and page, in the window's
// control order; and the read-only view keyed Name(Index) through which the build stages
// read the 103 parameter controls (number boxes, check boxes and selection boxes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/control.h"

namespace lorvex::params {

inline constexpr int kParameterControlCount = 103;
inline constexpr int kTabCount = 6;
inline constexpr int kShapeCount = 24;

// Captions of the six tabs, tab 1 first.
inline constexpr const char* kTabCaptions[kTabCount] = {
    "Land Masses", "Terrain", "Cities", "Player Cities", "Building Algorithms", "Shapes"};

// Captions of the 24 shape check boxes chkShape(0) .. chkShape(23), by box index.
inline constexpr const char* kShapeCaptions[kShapeCount] = {
    "Rectangle",      "Triangle",        "Right Triangle",    "Obtuse Triangle",
    "Parallelogram",  "Trapezoid",       "Circle",            "3/4-Circle",
    "Half-Circle",    "Quarter-Circle",  "Ellipse",           "Teardrop",
    "\"L\"-Shape",    "\"U\"-Shape",     "\"T\"-Shape",       "\"I\"-Shape",
    "Rectangle + Triangle", "Hourglass", "Diamond",           "4-point Star",
    "3 Points of Star", "2 Points of Star", "Arrowhead",      "Arrow"};

// The shape code (the Tag) of each shape check box, by box index: the boxes are laid out
// for the eye, the codes number the figures, so the two orders differ.
//                                                 index: 0  1  2  3  4  5  6  7  8  9 10 11
inline constexpr int kShapeCodeOfBox[kShapeCount] = {0, 3, 4, 1, 5, 2, 6, 9, 8, 10, 7, 15,
//                                                 index:12 13 14 15 16 17 18 19 20 21 22 23
                                                     12, 13, 19, 23, 11, 14, 17, 20, 21, 22, 16, 18};

// Explanation of each city placement algorithm, by item of cboPlacement. The label starts
// with the last one and shows the selected item's from the first selection on.
inline constexpr const char* kPlacementExplanations[3] = {
    "Cities are randomly placed throughout the entire map regardless of land masses.",
    "The same number of cities will be placed on each land mass by size (Large, Medium, Small).",
    ("The number of cities placed on each land mass is proportionate to the number of land "
     "squares for that land mass.")};

inline constexpr const char* kWindowCaption = "Kestrin's Random Map Builder - Parameters";
inline constexpr const char* kTitleCaption = "Kestrin's Random Map Builder for Varn";

// Every control of a freshly created window, with its defaults, in control order.
platform::ControlSet CreateWindowControls();

// Read-only access to the parameter controls by Name(Index). A name that is not a control
// of the window is a programming fault and throws std::logic_error.
class ParameterView {
 public:
  explicit ParameterView(const platform::ControlSet& controls) : controls_(controls) {}

  const std::string& Text(std::string_view name, int index) const;
  // The number the box's text begins with (0 for an empty or non-numeric text).
  double Number(std::string_view name, int index) const;
  // That number rounded half to even into a 16-bit whole number (clamped).
  std::int16_t Whole(std::string_view name, int index) const;
  // The same into a 32-bit whole number (clamped), for the figures that count squares.
  std::int32_t Long(std::string_view name, int index) const;
  int Value(std::string_view name, int index) const;
  const std::string& Tag(std::string_view name, int index) const;
  int ListIndex(std::string_view name, int index) const;
  bool Checked(std::string_view name, int index) const { return Value(name, index) == 1; }

 private:
  const platform::ControlSet& controls_;
};

}  // namespace lorvex::params
