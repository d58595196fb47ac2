// Helpers of the C interface tests: a headless builder, a field's text, a world's letters.
#pragma once

#include <string>

#include "host/c_api/lorvex.h"

namespace lorvex::testing {

// A headless builder: Build is pressed at once and the land warning answered Yes.
inline LorvexBuilder* HeadlessBuilder() {
  LorvexBuilder* builder = lorvex_create();
  lorvex_set_headless_build(builder, 1);
  lorvex_set_question_answer(builder, 1);
  return builder;
}

inline std::string Get(const LorvexBuilder* builder, const char* name) {
  char value[2048];
  return lorvex_get_parameter(builder, name, value, sizeof value) > 0 ? value : "<unknown>";
}

// The letters of the last world, row by row.
inline std::string Terrain(const LorvexBuilder* builder) {
  std::string letters(static_cast<std::size_t>(lorvex_copy_terrain(builder, nullptr, 0)), '\0');
  lorvex_copy_terrain(builder, letters.data(), letters.size());
  return letters;
}

}  // namespace lorvex::testing
