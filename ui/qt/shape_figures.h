// Where the pictures of the shapes page come from: a function that gives the figure of one
// shape code as a grid with 'C' inside the figure. NoShapeFigures draws nothing (an empty
// grid) and is what the window uses until it is given the shaping code's figures.
#pragma once

#include <functional>

#include "engine/grid.h"

namespace lorvex::ui::qt {

using ShapeFigureSource = std::function<Grid<char>(int shapeCode)>;

inline Grid<char> NoShapeFigures(int) { return {}; }

}  // namespace lorvex::ui::qt
