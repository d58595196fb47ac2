#include "export/png_file.h"

#include <png.h>

#include <cstring>
#include <utility>

#include "common/atomic_file.h"

namespace lorvex {

Rgb PngImage::ColourAt(int x, int y) const {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)) * static_cast<std::size_t>(channels);
  return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

std::uint8_t PngImage::AlphaAt(int x, int y) const {
  if (channels < 4) return 255;
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)) * static_cast<std::size_t>(channels);
  return pixels[at + 3];
}

bool WritePng(const PngImage& image, const std::string& path, std::string& error) {
  if (image.channels != 3 || image.width < 1 || image.height < 1 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) *
                                 static_cast<std::size_t>(image.height) * 3) {
    error = "cannot write " + path + ": not a complete RGB picture";
    return false;
  }
  AtomicFile file(path);
  if (!file.Open(error)) return false;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_stdio(&png, file.Stream(), 0, image.pixels.data(),
                                                0, nullptr) != 0;
  if (!written) {
    error = "cannot write " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  return file.Finish(error) && file.Publish(error);
}

bool ReadPng(const std::string& path, PngImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
    error = "cannot read " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  if (static_cast<std::int64_t>(png.width) * png.height > kMaxPngPixels) {
    error = "cannot read " + path + ": the picture is larger than " +
            std::to_string(kMaxPngPixels) + " pixels";
    png_image_free(&png);
    return false;
  }
  png.format = PNG_FORMAT_RGBA;
  PngImage read;
  read.width = static_cast<int>(png.width);
  read.height = static_cast<int>(png.height);
  read.channels = 4;
  read.pixels.resize(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, read.pixels.data(), 0, nullptr) == 0) {
    error = "cannot read " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  image = std::move(read);
  return true;
}

}  // namespace lorvex
