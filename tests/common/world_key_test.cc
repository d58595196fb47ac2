#include "common/world_key.h"

#include <gtest/gtest.h>

#include "common/random.h"

namespace lorvex {
namespace {

// A key is a seed, or a seed and the draws given away before the build; anything else,
// and the numbers past their bounds, are no key.
TEST(WorldKey, ReadsSeedsAndSeedsWithDrawsAndNothingElse) {
  // written: as FormatWorldKey writes the key back.
  const struct { const char* text; std::uint64_t seed, draws; const char* written; } rows[] = {
      {"42", 42, 0, "42"}, {"0", 0, 0, "0"}, {"42-1873", 42, 1873, "42-1873"}, {"42-0", 42, 0, "42"}, {"007-08", 7, 8, "7-8"},
      {"18446744073709551615", 18446744073709551615u, 0, "18446744073709551615"},
      {"1-1099511627776", 1, 1099511627776u, "1-1099511627776"}};
  for (const auto& row : rows) {
    const std::optional<WorldKey> key = ParseWorldKey(row.text);
    ASSERT_TRUE(key.has_value()) << '"' << row.text << '"';
    EXPECT_EQ(std::make_pair(key->seed, key->draws), std::make_pair(row.seed, row.draws)) << row.text;
    EXPECT_EQ(FormatWorldKey(*key), row.written);
  }
  // 2^64, one draw past the bound, 21 digits, and what is no number.
  for (const char* text : {"18446744073709551616", "1-1099511627777", "000000000000000000042", "", "-5", "42-", "42--1",
                           "42-1-2", " 42", "42 ", "4a", "+42"})
    EXPECT_FALSE(ParseWorldKey(text).has_value()) << '"' << text << '"';
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
