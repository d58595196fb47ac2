#include "shaping/square_flags.h"

#include <vector>

#include <gtest/gtest.h>

namespace lorvex::shaping {
namespace {

// The flags against a plain list of Booleans, over sizes round the 64-entry words.
TEST(SquareFlags, AgreesWithAPlainListAcrossWordBoundaries) {
  for (const std::size_t size : {1u, 63u, 64u, 65u, 128u, 200u}) {
    SquareFlags flags;
    std::vector<bool> plain;
    for (std::size_t e = 0; e < size; ++e) {
      flags.PushBack();
      plain.push_back(false);
      EXPECT_FALSE(flags.Test(e));
    }
    ASSERT_EQ(flags.Size(), size);
    // Set every entry whose number is a multiple of 3 or 7, then take back multiples of 21.
    for (std::size_t e = 0; e < size; ++e)
      if (e % 3 == 0 || e % 7 == 0) {
        flags.Set(e);
        plain[e] = true;
      }
    for (std::size_t e = 0; e < size; e += 21) {
      flags.Clear(e);
      plain[e] = false;
    }
    for (std::size_t e = 0; e < size; ++e) ASSERT_EQ(flags.Test(e), plain[e]) << size << " " << e;
    for (std::size_t from = 0; from <= size + 1; ++from) {
      std::size_t want = from;
      while (want < size && plain[want]) ++want;
      if (want > size) want = size;
      ASSERT_EQ(flags.NextClear(from), want) << size << " from " << from;
    }
  }
}

// A whole word of set flags is skipped, and set flags past the last entry never count.
TEST(SquareFlags, NextClearSkipsFullWordsAndStopsAtTheLastEntry) {
  SquareFlags flags;
  for (int e = 0; e < 130; ++e) flags.PushBack();
  for (std::size_t e = 0; e < 129; ++e) flags.Set(e);
  EXPECT_EQ(flags.NextClear(0), 129u);
  flags.Set(129);
  EXPECT_EQ(flags.NextClear(0), 130u);
  flags.Assign(70, false);
  EXPECT_EQ(flags.NextClear(0), 70u);
  EXPECT_EQ(flags.NextClear(71), 130u);
  flags.ClearAll();
  EXPECT_EQ(flags.Size(), 0u);
  EXPECT_EQ(flags.NextClear(0), 0u);
  flags.PushBack();
  EXPECT_FALSE(flags.Test(0));  // a cleared list starts its new entries clear
}

}  // namespace
}  // namespace lorvex::shaping
