/* The C interface of liblorvex.so: the seven operations of clsBuild behind an opaque
 * handle, for hosts in any language. No function throws or aborts; a null handle answers
 * as a builder that has built nothing.
 *
 * Typical use:
 *   LorvexBuilder* b = lorvex_create();
 *   lorvex_set_headless_build(b, 1);       // press Build at once, without a screen
 *   lorvex_set_seed(b, 42);                // the same seed gives the same world
 *   if (lorvex_build(b, 160, 100, 1)) {     // 160 x 100 squares, wrapping east-west
 *     int32_t w = lorvex_map_width(b), h = lorvex_map_height(b);
 *     for (int32_t y = 0; y < h; ++y)
 *       for (int32_t x = 0; x < w; ++x) use(lorvex_get_terrain_vb(b, x, y));
 *   }
 *   lorvex_destroy(b);
 *
 * Coordinates: x is the column (0 .. width - 1, west to east), y the row (0 .. height - 1,
 * top to bottom). Two orderings are used, each by its own queries:
 *   - a square's position is row-major: pos = y * width + x (lorvex_get_terrain_c);
 *   - a city's position is its ordinal in a column-major scan of the map (x in the outer
 *     loop, y in the inner loop; every 'Y' square takes the next ordinal from 0), for the
 *     three city queries. A host scanning the squares in that order meets the cities in
 *     ordinal order.
 * Before the first completed build every query answers its outside value.
 *
 * Threads: a builder is used by one thread at a time. Headless builds (below) of
 * different builders share nothing and may run at once, one per thread (the command
 * line's batches do so); they all read kessett/default.kst of the process's one current
 * directory. */
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

/* A new builder that has built nothing, or NULL when memory is short. */
LORVEX_API LorvexBuilder* lorvex_create(void);
/* Releases the builder and its world; NULL is allowed and does nothing. */
LORVEX_API void lorvex_destroy(LorvexBuilder* builder);

/* Build: opens the parameters window for a map of width x height squares (wrapping
 * east-west when wrap is not 0), which applies kessett/default.kst of the current
 * directory when that file exists. Answers 1 when a world was built and replaces the
 * builder's world; answers 0, keeping the previous world, when the window was cancelled or
 * the build stopped, or at once for a size outside 1 .. LORVEX_MAX_MAP_SIDE. Without a
 * headless build (below) the window is shown on the screen when the process can show
 * windows (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set; a QApplication is made
 * for the call when the program has none) and the person builds or cancels; without a
 * screen nobody presses Build, so the build is cancelled. */
LORVEX_API int lorvex_build(LorvexBuilder* builder, int32_t width, int32_t height, int wrap);

/* Host terrain number of the square at row-major position pos: 1 border water (T, B, A),
 * 2 city (Y), 3 forest (F), 4 clear (C), 5 sea (S), 6 rough (G), 7 mountains (M),
 * 8 river (R). x = pos % width and y = pos / width, truncating toward zero; 4 when either
 * lies outside the map (so -1 and width * height answer 4). */
LORVEX_API int16_t lorvex_get_terrain_c(const LorvexBuilder* builder, int32_t pos);
/* Always 4. */
LORVEX_API int16_t lorvex_test_c(const LorvexBuilder* builder, int16_t pos);
/* The terrain letter of square (x, y), one of T B A S C M G F R Y ('C' outside the map).
 * A square is water when its letter is one of T, B, A, S, and land otherwise. */
LORVEX_API char lorvex_get_terrain_vb(const LorvexBuilder* builder, int32_t x, int32_t y);
/* Production, specialty and owner of the city with column-major ordinal pos. The cities
 * on the map are 0 .. lorvex_city_count() - 1. The build keeps one entry for every city it
 * planned: a planned city that found no free square follows those, answering 0 for all
 * three. Any other pos (negative, or past the planned cities) answers 10. */
LORVEX_API int16_t lorvex_get_production_c(const LorvexBuilder* builder, int32_t pos);
LORVEX_API int16_t lorvex_get_specialty_c(const LorvexBuilder* builder, int32_t pos);
LORVEX_API int16_t lorvex_get_owner_c(const LorvexBuilder* builder, int32_t pos);

/* Our extensions. */
/* The seed of the next lorvex_build only (otherwise, and for the builds after it, the
 * clock seeds it). One seed and one parameter set always give the same world. */
LORVEX_API void lorvex_set_seed(LorvexBuilder* builder, uint64_t seed);
/* When not 0, every later lorvex_build presses the window's Build button at once,
 * without a screen, until it is set to 0 again: a build with the parameters of
 * kessett/default.kst of the current directory (the window's defaults without it). A
 * question the window asks on the way is answered No, so a parameter set that asks for
 * more land than the map has is not built (lorvex_build answers 0). */
LORVEX_API void lorvex_set_headless_build(LorvexBuilder* builder, int enabled);

/* How a headless build answers the window's Yes/No questions (the land warning): 1 Yes,
 * 0 No (the default, as a person who does not confirm). */
LORVEX_API void lorvex_set_question_answer(LorvexBuilder* builder, int yes);

/* The seed the last lorvex_build used (0 before any). */
LORVEX_API uint64_t lorvex_last_seed(const LorvexBuilder* builder);
/* Size in squares of the last map built (0 before any). */
LORVEX_API int32_t lorvex_map_width(const LorvexBuilder* builder);
LORVEX_API int32_t lorvex_map_height(const LorvexBuilder* builder);
/* Number of cities on the last map built: its 'Y' squares, the ordinals the city queries
 * answer for (0 before any build). */
LORVEX_API int32_t lorvex_city_count(const LorvexBuilder* builder);
/* The component's version, "1.1.3": a static text the caller does not free. */
LORVEX_API const char* lorvex_version(void);

#ifdef __cplusplus
}
#endif

#endif
