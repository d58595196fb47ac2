// System error texts through strerror_r, whichever form the C library declares.
#include "common/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace lorvex {
namespace {

TEST(ErrorText, GivesTheSystemsTextForKnownAndUnknownNumbers) {
  EXPECT_EQ(ErrorText(ENOENT), "No such file or directory");
  EXPECT_EQ(ErrorText(ENOSPC), "No space left on device");
  // An unknown number still gets a text, not an empty string or the previous answer.
  const std::string unknown = ErrorText(-12345);
  EXPECT_NE(unknown.find("12345"), std::string::npos) << unknown;
}

}  // namespace
}  // namespace lorvex
