#include "apps/lorvex/shapes_command.h"

#include <cstdio>
#include <iostream>
#include <vector>

#include "common/atomic_file.h"
#include "export/shape_gallery.h"
#include "shaping/shape_figures.h"

namespace lorvex::cli {

namespace {

constexpr int kWritten = 0;
constexpr int kFileError = 2;

}  // namespace

int RunShapes(const ShapesOptions& options) {
  std::vector<exporting::GalleryItem> items;
  for (int code = 0; code < shaping::kFigureCount; ++code)
    items.push_back({shaping::FigurePicture(code, options.squares, options.orientation),
                     shaping::FigureCaption(code)});

  std::string error;
  if (options.pngFile == "-") {
    if (exporting::WriteShapeGallery(items, stdout, error) && std::fflush(stdout) == 0) return kWritten;
    std::cerr << "lorvex: cannot write to standard output: " << error << "\n";
    return kFileError;
  }
  AtomicFile out(options.pngFile);
  bool ok = out.Open(error);
  if (ok && !exporting::WriteShapeGallery(items, out.Stream(), error)) {
    error = "cannot write " + options.pngFile + ": " + error;
    ok = false;
  }
  ok = ok && out.Finish(error) && out.Publish(error);
  if (ok) return kWritten;
  std::cerr << "lorvex: " << error << "\n";
  return kFileError;
}

}  // namespace lorvex::cli
