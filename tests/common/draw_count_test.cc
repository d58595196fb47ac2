#include "common/draw_count.h"

#include <gtest/gtest.h>

namespace lorvex {
namespace {

TEST(DrawsBetween, CountsExactlyTheDrawsMade) {
  // Across the engine's refills of 312 outputs, and none at all.
  for (const std::uint64_t made : {0ULL, 1ULL, 3ULL, 4ULL, 311ULL, 312ULL, 313ULL, 5000ULL}) {
    Random before(42);
    for (int i = 0; i < 17; ++i) before.Next();  // a start that is not the seeding
    Random after = before;
    for (std::uint64_t i = 0; i < made; ++i) after.Next();
    EXPECT_EQ(DrawsBetween(before, after, 10'000), made) << made;
  }
}

TEST(DrawsBetween, LeavesTheGeneratorsWhereTheyStood) {
  Random before(7), after(7);
  after.Next();
  const Random copy = after;
  ASSERT_EQ(DrawsBetween(before, after, 100), 1u);
  Random expected = copy;
  EXPECT_EQ(after.Next(), expected.Next());
}

TEST(DrawsBetween, AnswersNothingForAnotherStreamOrBeyondTheBound) {
  Random other(8);
  EXPECT_FALSE(DrawsBetween(Random(7), other, 100'000).has_value());
  Random ahead(7);
  for (int i = 0; i < 50; ++i) ahead.Next();
  EXPECT_FALSE(DrawsBetween(Random(7), ahead, 49).has_value());
  EXPECT_EQ(DrawsBetween(Random(7), ahead, 50), 50u);
  // A generator behind the start is not found by replaying forward.
  EXPECT_FALSE(DrawsBetween(ahead, Random(7), 100'000).has_value());
}

}  // namespace
}  // namespace lorvex
