/* The C interface of liblorvex.so: the seven operations of clsBuild behind an opaque
 * handle, for hosts in any language. No function throws or aborts; a null handle answers
 * as a builder that has built nothing. */
#ifndef LORVEX_H
#define LORVEX_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define LORVEX_API __attribute__((visibility("default")))
#else
#define LORVEX_API
#endif

typedef struct LorvexBuilder LorvexBuilder;

/* Largest width and height lorvex_build accepts. */
#define LORVEX_MAX_MAP_SIDE 4096

/* A new builder, or NULL when memory is short. */
LORVEX_API LorvexBuilder* lorvex_create(void);
LORVEX_API void lorvex_destroy(LorvexBuilder* builder);

/* Build: opens the parameters window for a map of width x height squares (wrapping
 * east-west when wrap is not 0). Answers 1 when a world was built, 0 otherwise (cancelled,
 * stopped, or a size outside 1 .. LORVEX_MAX_MAP_SIDE). */
LORVEX_API int lorvex_build(LorvexBuilder* builder, int32_t width, int32_t height, int wrap);

/* Host terrain number of the square at row-major position pos (4 outside the map). */
LORVEX_API int16_t lorvex_get_terrain_c(const LorvexBuilder* builder, int32_t pos);
/* Always 4. */
LORVEX_API int16_t lorvex_test_c(const LorvexBuilder* builder, int16_t pos);
/* The terrain letter of square (x, y) ('C' outside the map). */
LORVEX_API char lorvex_get_terrain_vb(const LorvexBuilder* builder, int32_t x, int32_t y);
/* Values of the city with column-major ordinal pos (10 outside the city list). */
LORVEX_API int16_t lorvex_get_production_c(const LorvexBuilder* builder, int32_t pos);
LORVEX_API int16_t lorvex_get_specialty_c(const LorvexBuilder* builder, int32_t pos);
LORVEX_API int16_t lorvex_get_owner_c(const LorvexBuilder* builder, int32_t pos);

/* Our extensions. */
/* The seed of the next lorvex_build (otherwise the clock seeds it). */
LORVEX_API void lorvex_set_seed(LorvexBuilder* builder, uint64_t seed);
/* When not 0, the window opens without a screen and its Build button is pressed at once
 * (a headless build with the default settings file and the given settings file, if any). */
LORVEX_API void lorvex_set_headless_build(LorvexBuilder* builder, int enabled);
/* Size of the last map built (0 before any). */
LORVEX_API int32_t lorvex_map_width(const LorvexBuilder* builder);
LORVEX_API int32_t lorvex_map_height(const LorvexBuilder* builder);
/* Number of cities of the last map built. */
LORVEX_API int32_t lorvex_city_count(const LorvexBuilder* builder);
/* The component's version, "1.1.3". */
LORVEX_API const char* lorvex_version(void);

#ifdef __cplusplus
}
#endif

#endif
