#include "common/numbers.h"

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "common/random.h"
#include "common/world_key.h"
#include "params/parameter_form.h"

namespace lorvex {
namespace {

TEST(Numbers, RoundingIsHalfToEvenAndConversionsSaturate) {
  const struct { double in, round; std::int16_t int16; } rows[] = {
      {0.5, 0, 0},     {1.5, 2, 2},       {2.5, 2, 2},           {3.5, 4, 4},      {-2.5, -2, -2},
      {2.4999, 2, 2},  {2.5001, 3, 3},    {32767.5, 32768, 32767}, {1e300, 1e300, 32767},
      {-1e300, -1e300, -32768},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(RoundHalfEven(row.in), row.round) << row.in;
    EXPECT_EQ(ToInt16(row.in), row.int16) << row.in;
  }
  EXPECT_EQ(ToInt16(std::nan("")), 0);
  EXPECT_EQ(ToInt32(1e300), 2147483647);
}

// The 10000th output of mt19937_64 seeded with 5489 is fixed by the C++ standard; a draw is
// its top 53 bits over 2^53, so one seed gives one world on every platform.
TEST(Random, DrawsAreTheStandardEngineConvertedExactly) {
  Random random(5489);
  for (int i = 1; i < 10000; ++i) random.Next();
  EXPECT_EQ(random.Next(), static_cast<double>(9981545732273789042ULL >> 11) * 0x1.0p-53);
  // Lo to Hi inclusive, as the stress test draws its maps (no engine routine draws with it).
  std::set<std::int64_t> drawn;
  for (int i = 0; i < 200; ++i) drawn.insert(random.DrawInt(-2, 1));
  EXPECT_EQ(drawn, (std::set<std::int64_t>{-2, -1, 0, 1}));
}

// A locale writing a decimal comma: the system's German one, or one compiled into a scratch
// folder; "" when neither can be had.
std::string CommaLocale() {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) return "de_DE.UTF-8";
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lorvex-locales";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  if (!std::filesystem::exists(folder / "de_DE.UTF-8" / "LC_NUMERIC"))
    std::system(("localedef -c -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1").c_str());
  setenv("LOCPATH", folder.c_str(), 1);
  const bool made = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  unsetenv("LOCPATH");
  return made ? "de_DE.UTF-8" : "";
}

// A field's text is read, and a figure written, with a '.' whatever locale the process has
// set (a desktop toolkit sets the user's), so settings files are the same everywhere.
TEST(Numbers, FieldTextsAreReadAndWrittenAlikeInEveryLocale) {
  const struct { const char* text; double read; } reads[] = {
      {"2.5", 2.5}, {"12abc", 12}, {"-7", -7}, {" 1e3x", 1000}, {".5", 0.5}, {"0.1", 0.1},
      {"5e", 5}, {"1e400", DBL_MAX}, {"-1e400", -DBL_MAX}, {"1e-400", 0}, {"", 0}, {"abc", 0}};
  const struct { double value; const char* text; } writes[] = {
      {2.5, "2.5"}, {-7, "-7"}, {400, "400"}, {1e20, "1E+20"}, {0.1, "0.1"}, {-0.0, "0"},
      {1.0 / 3, "0.333333333333333"}, {999999999999999, "999999999999999"},
      {DBL_MAX, "1.79769313486232E+308"}, {1e-5, "1E-05"}};
  const std::string comma = CommaLocale();
  for (const std::string& locale : {comma, std::string("C")}) {
    if (locale.empty()) continue;
    if (locale == "C") std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(*std::localeconv()->decimal_point, locale == "C" ? '.' : ',') << locale;
    for (const auto& row : reads) EXPECT_EQ(ReadFieldNumber(row.text), row.read) << row.text << " in " << locale;
    for (const auto& row : writes)
      EXPECT_EQ(params::NumberText(row.value), row.text) << row.value << " in " << locale;
  }
  std::setlocale(LC_NUMERIC, "C");
  if (comma.empty()) GTEST_SKIP() << "no locale with a decimal comma could be made";
}

// A key is a seed, or a seed and the draws given away before the build; anything else,
// and the numbers past their bounds, are no key.
TEST(WorldKey, ReadsSeedsAndSeedsWithDrawsAndNothingElse) {
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
  for (int i = 0; i < 313; ++i) counted.Next();  // across the refill
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
