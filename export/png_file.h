// Whole PNG images in and out: 8-bit RGB pictures written through an AtomicFile, and any
// PNG read back as 8-bit RGBA (for checking what a writer or a renderer produced).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/palette.h"

namespace lorvex {

// An image of width x height pixels, row-major from the top-left, `channels` bytes a pixel.
struct PngImage {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<std::uint8_t> pixels;

  Rgb ColourAt(int x, int y) const;
  // 255 for a picture without an alpha channel.
  std::uint8_t AlphaAt(int x, int y) const;
};

// The largest picture ReadPng accepts, in pixels: a 4096 x 4096 map at 4 pixels a square.
inline constexpr std::int64_t kMaxPngPixels = std::int64_t{16384} * 16384;

// Writes an RGB image (channels 3) to path; the file appears complete or not at all.
bool WritePng(const PngImage& image, const std::string& path, std::string& error);

// Reads any PNG as RGBA (channels 4).
bool ReadPng(const std::string& path, PngImage& image, std::string& error);

}  // namespace lorvex
