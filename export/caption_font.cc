#include "export/caption_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace lorvex::exporting {

namespace {

// The font file fontconfig picks for a plain sans-serif caption, or "" when it knows none.
std::string SansFontFile() {
  std::string file;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans:style=Book"));
  if (pattern != nullptr) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
        file = reinterpret_cast<const char*>(path);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return file;
}

char Printable(char c) { return c >= 32 && c < 127 ? c : '?'; }

}  // namespace

struct CaptionFont::Library {
  FT_Library handle = nullptr;
  ~Library() {
    if (handle != nullptr) FT_Done_FreeType(handle);
  }
};

CaptionFont::CaptionFont(int pixelHeight) : library_(std::make_unique<Library>()) {
  if (FT_Init_FreeType(&library_->handle) != 0) {
    error_ = "the font engine could not start";
    return;
  }
  const std::string file = SansFontFile();
  if (file.empty()) {
    error_ = "no font for the captions was found (install fonts-dejavu-core)";
    return;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library_->handle, file.c_str(), 0, &face) != 0) {
    error_ = "the caption font " + file + " could not be read";
    return;
  }
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::max(1, pixelHeight))) != 0) {
    FT_Done_Face(face);
    error_ = "the caption font " + file + " has no size " + std::to_string(pixelHeight);
    return;
  }
  face_ = face;
  ascent_ = static_cast<int>(face->size->metrics.ascender >> 6);
}

CaptionFont::~CaptionFont() {
  if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
}

int CaptionFont::Width(std::string_view text) const {
  if (face_ == nullptr) return 0;
  const auto face = static_cast<FT_Face>(face_);
  long advance = 0;
  for (char c : text)
    if (FT_Load_Char(face, static_cast<unsigned char>(Printable(c)), FT_LOAD_DEFAULT) == 0)
      advance += face->glyph->advance.x;
  return static_cast<int>(advance >> 6);
}

void CaptionFont::Draw(RgbPicture picture, int left, int top, std::string_view text,
                       platform::Rgb ink) const {
  if (face_ == nullptr) return;
  const auto face = static_cast<FT_Face>(face_);
  long penX = static_cast<long>(left) << 6;
  const int baseline = top + ascent_;
  for (char c : text) {
    if (FT_Load_Char(face, static_cast<unsigned char>(Printable(c)), FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int x0 = static_cast<int>(penX >> 6) + glyph->bitmap_left;
    const int y0 = baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row)
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const int x = x0 + static_cast<int>(col), y = y0 + static_cast<int>(row);
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) continue;
        const unsigned coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col];
        platform::Rgb& pixel = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
        const auto blend = [coverage](std::uint8_t back, std::uint8_t front) {
          return static_cast<std::uint8_t>((front * coverage + back * (255 - coverage) + 127) / 255);
        };
        pixel = {blend(pixel.r, ink.r), blend(pixel.g, ink.g), blend(pixel.b, ink.b)};
      }
    penX += glyph->advance.x;
  }
}

}  // namespace lorvex::exporting
