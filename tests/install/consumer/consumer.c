/* Creates a builder through the installed C interface, checks the answers of a builder
 * that has built nothing, and releases it. Exit status 0 when every answer is right. */
#include <lorvex.h>
#include <stdio.h>
#include <string.h>

static int failures = 0;

static void Check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "wrong: %s\n", what);
    ++failures;
  }
}

int main(void) {
  LorvexBuilder* builder = lorvex_create();
  if (builder == NULL) {
    fprintf(stderr, "lorvex_create answered NULL\n");
    return 1;
  }
  Check(strcmp(lorvex_version(), LORVEX_PACKAGE_VERSION) == 0, "lorvex_version()");
  Check(lorvex_get_terrain_c(builder, 0) == 4, "lorvex_get_terrain_c(0)");
  Check(lorvex_get_terrain_c(builder, -1) == 4, "lorvex_get_terrain_c(-1)");
  Check(lorvex_test_c(builder, 123) == 4, "lorvex_test_c(123)");
  Check(lorvex_get_terrain_vb(builder, 0, 0) == 'C', "lorvex_get_terrain_vb(0, 0)");
  Check(lorvex_get_production_c(builder, 0) == 10, "lorvex_get_production_c(0)");
  Check(lorvex_get_specialty_c(builder, 0) == 10, "lorvex_get_specialty_c(0)");
  Check(lorvex_get_owner_c(builder, 0) == 10, "lorvex_get_owner_c(0)");
  Check(lorvex_build(builder, 0, 0, 0) == 0, "lorvex_build(0, 0)");
  Check(lorvex_build(builder, LORVEX_MAX_MAP_SIDE + 1, 10, 0) == 0, "lorvex_build(4097, 10)");
  Check(lorvex_map_width(builder) == 0 && lorvex_city_count(builder) == 0, "empty world");
  lorvex_destroy(builder);
  lorvex_destroy(NULL);
  if (failures == 0) printf("Lorvex %s from the installed package: all answers right\n", lorvex_version());
  return failures == 0 ? 0 : 1;
}
