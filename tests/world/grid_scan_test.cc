#include <string>

#include <gtest/gtest.h>

#include "common/random.h"
#include "world/grid.h"
#include "world/world_state.h"

namespace lorvex {
namespace {

// The word-at-a-time scans against a letter-by-letter search, on rows of every length up
// to a few words with runs that end on and off the 8-letter words.
TEST(RowScans, FindTheSameLettersAsALetterByLetterSearch) {
  Random random(11);
  for (int trial = 0; trial < 4000; ++trial) {
    const auto length = static_cast<std::int32_t>(random.DrawInt(0, 40));
    std::string row(static_cast<std::size_t>(length), 'X');
    // Mostly X with a few other letters, sometimes none.
    const double other = trial % 5 == 0 ? 0.0 : 0.1;
    for (char& c : row)
      if (random.Next() < other) c = random.Next() < 0.5 ? 'C' : 'S';
    const auto from = static_cast<std::int32_t>(random.DrawInt(0, length));
    const auto end = static_cast<std::int32_t>(random.DrawInt(from, length));

    std::int32_t next = from;
    while (next < end && row[static_cast<std::size_t>(next)] == 'X') ++next;
    ASSERT_EQ(NextOtherThan(row.data(), from, end, 'X'), next) << row << " " << from << " " << end;

    std::int32_t last = end - 1;
    while (last >= from && row[static_cast<std::size_t>(last)] == 'X') --last;
    ASSERT_EQ(LastOtherThan(row.data(), from, end, 'X'), last) << row << " " << from << " " << end;
  }
}

TEST(RowScans, NextNonSeaSkipsOnlySea) {
  const std::string row = "SSSSSSSSSSSSSSSSSCSSSSSSSSTSSSSSSSSS";
  const auto width = static_cast<std::int32_t>(row.size());
  EXPECT_EQ(NextNonSea(row.data(), 0, width), 17);
  EXPECT_EQ(NextNonSea(row.data(), 18, width), 26);
  EXPECT_EQ(NextNonSea(row.data(), 27, width), width);
}

}  // namespace
}  // namespace lorvex
