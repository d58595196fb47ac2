// Where the pictures of the shapes page come from: a function that gives the figure of one
// shape code as a grid with 'C' inside the figure. The window draws the very figures the
// build makes (ShapingFigures); NoShapeFigures draws nothing, for tests of the layout alone.
#pragma once

#include <functional>

#include "world/grid.h"
#include "shaping/shape_figures.h"

namespace lorvex::ui::qt {

using ShapeFigureSource = std::function<Grid<char>(int shapeCode)>;

// Squares of the figure drawn for each picture: enough for smooth edges at picture size.
inline constexpr std::int32_t kPictureSquares = 400;

inline Grid<char> ShapingFigures(int shapeCode) {
  return shaping::FigurePicture(shapeCode, kPictureSquares, 0);
}

inline Grid<char> NoShapeFigures(int) { return {}; }

}  // namespace lorvex::ui::qt
