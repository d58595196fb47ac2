// A picture of the 24 shapes side by side, each drawn as the build makes it and labelled
// with its caption, in the order of their numbers.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "world/grid.h"

namespace lorvex::exporting {

struct GalleryItem {
  Grid<char> figure;  // 'C' inside the figure
  std::string caption;
};

// Six items a row; every figure scaled to the same square cell.
bool WriteShapeGallery(const std::vector<GalleryItem>& items, std::FILE* out, std::string& error);

}  // namespace lorvex::exporting
