// Text for the captions of the pictures the tools write: a system font (DejaVu Sans, or the
// nearest sans-serif fontconfig knows) rendered by FreeType into an RGB picture, with grey
// levels blended into the background.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/rgb.h"

namespace lorvex::exporting {

// Where a caption is drawn: a picture of width x height RGB pixels, row-major.
struct RgbPicture {
  int width = 0;
  int height = 0;
  platform::Rgb* pixels = nullptr;
};

class CaptionFont {
 public:
  // Opens the font at the given pixel height; on failure Ok() is false and Error() says why.
  explicit CaptionFont(int pixelHeight);
  ~CaptionFont();
  CaptionFont(const CaptionFont&) = delete;
  CaptionFont& operator=(const CaptionFont&) = delete;

  bool Ok() const { return face_ != nullptr; }
  const std::string& Error() const { return error_; }

  // The advance of the text in pixels (ASCII; other bytes are drawn as '?').
  int Width(std::string_view text) const;
  // Draws the text with its top at `top` (the line's ascent below it), clipped to the picture.
  void Draw(RgbPicture picture, int left, int top, std::string_view text, platform::Rgb ink) const;

 private:
  struct Library;
  std::unique_ptr<Library> library_;
  void* face_ = nullptr;  // FT_Face, kept opaque so the header needs no FreeType include
  int ascent_ = 0;
  std::string error_;
};

}  // namespace lorvex::exporting
