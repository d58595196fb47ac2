/* Uses the installed C interface as a host game would: checks the answers of a builder
 * that has built nothing, then builds a seeded world headless twice and checks that both
 * builds give the same world, that the squares and cities are consistent, and that the
 * positions outside answer their fixed values. Exit status 0 when every answer is right. */
#include <lorvex.h>
#include <stdio.h>
#include <string.h>

enum { kWidth = 60, kHeight = 40, kSeed = 42 };

static int failures = 0;

static void Check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "wrong: %s\n", what);
    ++failures;
  }
}

static void CheckEmpty(const LorvexBuilder* builder) {
  Check(strcmp(lorvex_version(), LORVEX_PACKAGE_VERSION) == 0, "lorvex_version()");
  Check(lorvex_get_terrain_c(builder, 0) == 4, "lorvex_get_terrain_c(0)");
  Check(lorvex_get_terrain_c(builder, -1) == 4, "lorvex_get_terrain_c(-1)");
  Check(lorvex_test_c(builder, 123) == 4, "lorvex_test_c(123)");
  Check(lorvex_get_terrain_vb(builder, 0, 0) == 'C', "lorvex_get_terrain_vb(0, 0)");
  Check(lorvex_get_production_c(builder, 0) == 10, "lorvex_get_production_c(0)");
  Check(lorvex_get_specialty_c(builder, 0) == 10, "lorvex_get_specialty_c(0)");
  Check(lorvex_get_owner_c(builder, 0) == 10, "lorvex_get_owner_c(0)");
  Check(lorvex_map_width(builder) == 0 && lorvex_city_count(builder) == 0, "empty world");
}

/* A headless build of the seeded world; NULL when it was not built. */
static LorvexBuilder* BuildSeeded(void) {
  LorvexBuilder* builder = lorvex_create();
  if (builder == NULL) return NULL;
  lorvex_set_headless_build(builder, 1);
  lorvex_set_question_answer(builder, 1);
  lorvex_set_seed(builder, kSeed);
  if (!lorvex_build(builder, kWidth, kHeight, 1)) {
    lorvex_destroy(builder);
    return NULL;
  }
  return builder;
}

static void CheckWorld(const LorvexBuilder* a, const LorvexBuilder* b) {
  int32_t x, y, cities = 0, same = 1;
  Check(lorvex_last_seed(a) == kSeed, "lorvex_last_seed()");
  Check(lorvex_map_width(a) == kWidth && lorvex_map_height(a) == kHeight, "map size");
  for (x = 0; x < kWidth; ++x)
    for (y = 0; y < kHeight; ++y) {
      const char letter = lorvex_get_terrain_vb(a, x, y);
      const int16_t number = lorvex_get_terrain_c(a, y * kWidth + x);
      same = same && letter == lorvex_get_terrain_vb(b, x, y);
      Check(number >= 1 && number <= 8, "a terrain number from 1 to 8");
      Check((letter == 'Y') == (number == 2), "a city square answers 2");
      if (letter == 'Y') {
        /* Ordinals follow the column-major scan; both builds give the city one value. */
        same = same && lorvex_get_production_c(a, cities) == lorvex_get_production_c(b, cities);
        ++cities;
      }
    }
  Check(same, "one seed, one world");
  Check(cities == lorvex_city_count(a) && cities > 0, "lorvex_city_count() counts the 'Y' squares");
  Check(lorvex_get_terrain_vb(a, 0, 0) == 'T' && lorvex_get_terrain_vb(a, 0, kHeight - 1) == 'B',
        "a wrapping map's border rows");
  Check(lorvex_get_terrain_c(a, kWidth * kHeight) == 4, "lorvex_get_terrain_c(width * height)");
  Check(lorvex_get_owner_c(a, -1) == 10, "lorvex_get_owner_c(-1)");
}

int main(void) {
  LorvexBuilder* builder = lorvex_create();
  LorvexBuilder *first, *second;
  if (builder == NULL) {
    fprintf(stderr, "lorvex_create answered NULL\n");
    return 1;
  }
  CheckEmpty(builder);
  Check(lorvex_build(builder, 0, 0, 0) == 0, "lorvex_build(0, 0)");
  Check(lorvex_build(builder, LORVEX_MAX_MAP_SIDE + 1, 10, 0) == 0, "lorvex_build(4097, 10)");
  lorvex_destroy(builder);
  lorvex_destroy(NULL);

  first = BuildSeeded();
  second = BuildSeeded();
  Check(first != NULL && second != NULL, "a headless build of a seeded world");
  if (first != NULL && second != NULL) CheckWorld(first, second);
  lorvex_destroy(first);
  lorvex_destroy(second);

  if (failures == 0) printf("Lorvex %s from the installed package: all answers right\n", lorvex_version());
  return failures == 0 ? 0 : 1;
}
