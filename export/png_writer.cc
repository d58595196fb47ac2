#include "export/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>

namespace lorvex::exporting {

namespace {

struct PngFailure {
  std::jmp_buf jump;
  std::string message;
};

// The system's reason for a failed write or flush, else `otherwise`.
std::string SystemReason(int error, const char* otherwise) {
  return error != 0 ? std::strerror(error) : otherwise;
}

// libpng names only the step that failed ("Write Error"); the stream's errno says why.
void OnPngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  failure->message = SystemReason(errno, message);
  std::longjmp(failure->jump, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WriteRgbPng(std::uint32_t width, std::uint32_t height, const PngRowFiller& fillRow,
                 std::FILE* out, std::string& error) {
  if (width < 1 || height < 1) {
    error = "the picture has no pixels";
    return false;
  }
  if (width > kMaxPngSide || height > kMaxPngSide) {
    error = "the picture would be larger than " + std::to_string(kMaxPngSide) + " pixels a side";
    return false;
  }
  // Everything with a destructor lives outside the stretch that libpng may jump out of.
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  PngFailure failure;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  if (png == nullptr) {
    error = "libpng could not start";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(failure.jump) != 0) {
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    error = failure.message.empty() ? "libpng could not start" : failure.message;
    return false;
  }
  png_init_io(png, out);
  errno = 0;
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < height; ++y) {
    fillRow(y, row);
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  errno = 0;
  if (std::fflush(out) != 0 || std::ferror(out)) {
    error = SystemReason(errno, "the file could not be written");
    return false;
  }
  return true;
}

}  // namespace lorvex::exporting
