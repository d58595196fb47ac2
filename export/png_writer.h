// An RGB picture written with libpng one row at a time, so a large picture never needs
// its whole pixel buffer in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace lorvex::exporting {

inline constexpr std::uint32_t kMaxPngSide = 65535;

// fillRow(y, row) fills row y (width * 3 bytes, R G B per pixel). Answers false with a
// reason when the picture has no pixels, is wider or higher than kMaxPngSide, or cannot
// be written.
using PngRowFiller = std::function<void(std::uint32_t y, std::vector<std::uint8_t>& row)>;
bool WriteRgbPng(std::uint32_t width, std::uint32_t height, const PngRowFiller& fillRow,
                 std::FILE* out, std::string& error);

}  // namespace lorvex::exporting
