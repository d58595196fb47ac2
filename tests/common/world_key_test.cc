#include "common/world_key.h"

#include <gtest/gtest.h>

#include "common/random.h"

namespace lorvex {
namespace {

// A key is a seed, or a seed and the draws given away before the build; anything else,
// and the numbers past their bounds, are no key.
TEST(WorldKey, ReadsSeedsAndSeedsWithDrawsAndNothingElse) {
  const struct {
    const char* text;
    bool valid;
    std::uint64_t seed, draws;
    const char* written;  // as FormatWorldKey writes the key back
  } rows[] = {
      {"42", true, 42, 0, "42"},
      {"0", true, 0, 0, "0"},
      {"42-1873", true, 42, 1873, "42-1873"},
      {"42-0", true, 42, 0, "42"},
      {"007-08", true, 7, 8, "7-8"},
      {"18446744073709551615", true, 18446744073709551615u, 0, "18446744073709551615"},
      {"1-1099511627776", true, 1, 1099511627776u, "1-1099511627776"},
      {"18446744073709551616", false, 0, 0, ""},  // 2^64
      {"1-1099511627777", false, 0, 0, ""},       // one draw past the bound
      {"", false, 0, 0, ""},
      {"-5", false, 0, 0, ""},
      {"42-", false, 0, 0, ""},
      {"42--1", false, 0, 0, ""},
      {"42-1-2", false, 0, 0, ""},
      {" 42", false, 0, 0, ""},
      {"42 ", false, 0, 0, ""},
      {"4a", false, 0, 0, ""},
      {"+42", false, 0, 0, ""},
      {"000000000000000000042", false, 0, 0, ""},  // 21 digits
  };
  for (const auto& row : rows) {
    const std::optional<WorldKey> key = ParseWorldKey(row.text);
    ASSERT_EQ(key.has_value(), row.valid) << '"' << row.text << '"';
    if (!row.valid) continue;
    EXPECT_EQ(key->seed, row.seed) << row.text;
    EXPECT_EQ(key->draws, row.draws) << row.text;
    EXPECT_EQ(FormatWorldKey(*key), row.written);
  }
}

// The generator counts every draw since its seed, those it handed out and those it
// skipped, across its refills of 312.
TEST(WorldKey, TheGeneratorCountsItsDrawsAcrossRefills) {
  Random counted(9);
  EXPECT_EQ(counted.DrawsMade(), 0u);
  for (int i = 0; i < 311; ++i) counted.Next();
  EXPECT_EQ(counted.DrawsMade(), 311u);
  counted.Next();
  counted.Next();
  EXPECT_EQ(counted.DrawsMade(), 313u);
  counted.Discard(1000);
  EXPECT_EQ(counted.DrawsMade(), 1313u);
  // Where a generator seeded alike and skipping as many stands: the same next draw.
  Random skipped(9);
  skipped.Discard(1313);
  EXPECT_EQ(skipped.Next(), counted.Next());
  counted.Seed(3);
  EXPECT_EQ(counted.DrawsMade(), 0u);
}

}  // namespace
}  // namespace lorvex
