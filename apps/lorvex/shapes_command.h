// `lorvex shapes`: a picture of the 24 figures the Shapes algorithm draws, in the order of
// their shape codes, each labelled with its check box's caption.
#pragma once

#include <string>

namespace lorvex::cli {

struct ShapesOptions {
  std::string pngFile;  // "-" = standard output
  int squares = 400;    // each figure's area, 1 to 9999
  int orientation = 0;  // 0 to 7
};

// Exit status: 0 written, 2 the file could not be written.
int RunShapes(const ShapesOptions& options);

}  // namespace lorvex::cli
