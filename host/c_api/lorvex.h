/* The C interface of liblorvex.so: a builder of worlds behind an opaque handle, for hosts in
 * any language. A host sets the parameters in code (or loads a settings file), builds with a
 * seed, and reads the finished world square by square or in bulk. No function throws,
 * aborts or keeps a pointer it was given; a NULL builder, name, path or buffer is answered
 * with a status.
 *
 * A complete host:
 *   LorvexBuilder* b = lorvex_create();
 *   lorvex_set_headless_build(b, 1);                    build at once, without a screen
 *   lorvex_set_parameter(b, "txtLandMass(0)", "2");     two to four Large masses
 *   lorvex_set_parameter(b, "txtLandMass(1)", "4");
 *   lorvex_set_seed(b, 42);                             the same seed gives the same world
 *   if (lorvex_build(b, 160, 100, 1) == LORVEX_BUILT) { 160 x 100 squares, wrapping
 *     char* letters = malloc(160 * 100);
 *     lorvex_copy_terrain(b, letters, 160 * 100);       row-major letters
 *     ...
 *   } else {
 *     puts(lorvex_last_error(b));                       why no world was built
 *   }
 *   lorvex_destroy(b);
 *
 * Coordinates: x is the column (0 .. width - 1, west to east), y the row (0 .. height - 1,
 * top to bottom). Two orderings are used, each by its own calls:
 *   - squares are row-major: position y * width + x (lorvex_get_terrain_c and the three
 *     square copies);
 *   - cities are numbered in a column-major scan of the map (x in the outer loop, y in the
 *     inner loop; every 'Y' square takes the next ordinal from 0), for the three city
 *     queries and lorvex_copy_cities.
 * Before the first completed build every query answers its outside value and every copy
 * has nothing to copy.
 *
 * Status: the calls that can fail answer a LorvexStatus (0 done, 1 done with the value held
 * to its range, negative a failure) or, for the copies, the count they need. lorvex_build
 * answers LORVEX_BUILT (1), LORVEX_CANCELLED (0) or a negative failure. After a failure, an
 * adjusted value or a build that built nothing, lorvex_last_error(builder) says why in
 * words; a plain success leaves it as it was. The text stays valid until the next call on
 * the builder that writes another one (a failure, an adjustment, a build that built
 * nothing).
 *
 * Versions: LORVEX_VERSION_MAJOR, _MINOR and _PATCH below are the version of this header,
 * lorvex_version_number() that of the library loaded. Within one major version the C
 * interface only grows: a minor version may add functions, statuses (new negative numbers,
 * so a host treats any negative answer as a failure), and values a call may take; it never
 * removes or renames a function, changes its parameters, the layout of LorvexCity, or what
 * an existing answer means, and one seed with one parameter set keeps giving the same
 * world. A patch version changes no declaration. The library's SONAME carries the major
 * version: a host built against 1.x runs on any 1.y with y >= x.
 *
 * Parameters: every field of the parameters window is addressed as one line of a settings
 * file addresses it, Name(Index): "txtLandMass(2)" is the low size of a Large mass,
 * "chkAlgorithm(1)" allows Stick Blob, "cboPlacement(0)" chooses how cities are placed
 * (lorvex_parameter_name lists all 103). A builder starts with the window's defaults and
 * holds no field. Each field it is given (by lorvex_set_parameter, lorvex_load_settings or
 * lorvex_recommend) it holds for all its later builds: every build opens a fresh window,
 * which applies kessett/default.kst of the current directory when the host asked for it
 * (lorvex_set_default_settings_file; not by default) and that file is there, and then
 * applies the fields the builder holds, as a settings file of just those fields would be
 * applied. So a host that sets what it needs never needs the file system, and the same
 * seed gives the same world in any folder. lorvex_reset_parameters lets go of every field.
 *
 * Threads: a builder is used by one thread at a time (lorvex_request_stop excepted). Builders share nothing: headless
 * builds of different builders run at once, one per thread, and the calls never change the
 * process's current directory, locale or environment. The window on the screen (a build
 * without lorvex_set_headless_build) belongs to the thread that runs the program's user
 * interface. */
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

/* Largest width and height lorvex_build and lorvex_recommend accept. */
#define LORVEX_MAX_MAP_SIDE 4096

typedef enum LorvexStatus {
  LORVEX_OK = 0,
  /* lorvex_set_parameter took the value and then held it to its range as the window does
   * when a field loses the focus: the field now holds another text (lorvex_last_error says
   * which). A success. */
  LORVEX_ADJUSTED = 1,
  /* A NULL builder, name, path or buffer (a NULL buffer with a size of 0 is a question for
   * the size, not a failure). */
  LORVEX_ERROR_NULL_ARGUMENT = -1,
  /* The name is not Name(Index) of one of the 103 parameter fields. */
  LORVEX_ERROR_UNKNOWN_FIELD = -2,
  /* A value the field cannot hold: a line end in it, a check box other than "0", "1" or
   * "2" (grey), a selection box other than "-1" to "2" (a word such as "true" is refused).
   * Nothing changed. */
  LORVEX_ERROR_BAD_VALUE = -3,
  /* A settings file that cannot be read (missing, a folder, unreadable) or written; the
   * fields and the old file stay as they were. */
  LORVEX_ERROR_FILE = -4,
  /* Recommend found no good figures for the map ("Failed to Recommend Good Parameters");
   * nothing changed. */
  LORVEX_ERROR_NO_RECOMMENDATION = -5,
  /* A width or height outside 1 .. LORVEX_MAX_MAP_SIDE. */
  LORVEX_ERROR_MAP_SIZE = -6,
  /* The buffer is shorter than the answer needs: nothing was written (a text gets ""). Ask
   * with (NULL, 0) for the size. */
  LORVEX_ERROR_BUFFER_TOO_SMALL = -7,
  /* No land mass of that number in the last world. */
  LORVEX_ERROR_NO_SUCH_MASS = -8,
  /* Memory ran out, or another fault inside the library; nothing changed. */
  LORVEX_ERROR_INTERNAL = -9
} LorvexStatus;

/* The answers of lorvex_build besides LORVEX_ERROR_MAP_SIZE, LORVEX_ERROR_INTERNAL and
 * LORVEX_ERROR_NULL_ARGUMENT (see there); LORVEX_ERROR_OUT_OF_MEMORY also from any call that
 * answers a status. */
enum {
  LORVEX_BUILT = 1,
  LORVEX_CANCELLED = 0,
  LORVEX_ERROR_OUT_OF_MEMORY = -20,
  LORVEX_ERROR_STOPPED = -21,
  LORVEX_ERROR_REFUSED = -22,
  LORVEX_ERROR_NO_WINDOW = -23
};

/* One city of the last world, as lorvex_copy_cities gives it. */
typedef struct LorvexCity {
  int32_t x, y;        /* its square */
  int16_t production;  /* as lorvex_get_production_c */
  int16_t specialty;   /* as lorvex_get_specialty_c: 9 none, 10 .. 19 */
  int16_t owner;       /* as lorvex_get_owner_c */
} LorvexCity;

/* A new builder that has built nothing and holds no field, or NULL when memory is short. */
LORVEX_API LorvexBuilder* lorvex_create(void);
/* Releases the builder and its world; NULL is allowed and does nothing. */
LORVEX_API void lorvex_destroy(LorvexBuilder* builder);

/* Why the last call on this builder that failed, adjusted its value or built nothing did
 * so; "" before any. A plain success leaves the text as it was; it stays valid until the
 * next call on the builder that writes another (the window's own words for a refused
 * build: "Please Select at least One Building Algorithm" ...). With a NULL builder: a
 * fixed text saying so. */
LORVEX_API const char* lorvex_last_error(const LorvexBuilder* builder);

/* ---- Parameters ---- */

/* Sets one field, named Name(Index), to value, taken exactly as the line
 * "Name(Index) = value" of a settings file is taken (a number box keeps the text, a check
 * box or selection box takes its number), then holds the field to its range as the window
 * does when the field loses the focus: "250" in txtAlgorithm(0) becomes "100", a low bound
 * raised above its high bound drags the high bound with it (so set a low bound before its
 * high bound). The builder holds the field from now on. Answers LORVEX_OK, LORVEX_ADJUSTED,
 * or an error that changes nothing: LORVEX_ERROR_NULL_ARGUMENT, LORVEX_ERROR_UNKNOWN_FIELD
 * ("txtLandMass(20)", "lblCities(0)", "txtLandMass(2) = 4"), LORVEX_ERROR_BAD_VALUE. */
LORVEX_API int lorvex_set_parameter(LorvexBuilder* builder, const char* name, const char* value);

/* The value of one field as a settings file writes it (a number box's text, a check box's
 * state, a selection box's item), NUL-terminated, into buffer of size bytes. Answers the
 * bytes the value needs with its NUL; asked with (NULL, 0) it only answers that. When size
 * is from 1 to fewer bytes than that: LORVEX_ERROR_BUFFER_TOO_SMALL, and an empty text is
 * written. A field the builder does not hold answers the window's default. Negative also:
 * LORVEX_ERROR_NULL_ARGUMENT (a NULL builder or name, or a NULL buffer with size > 0),
 * LORVEX_ERROR_UNKNOWN_FIELD. */
LORVEX_API int64_t lorvex_get_parameter(const LorvexBuilder* builder, const char* name,
                                        char* buffer, size_t size);

/* Lets go of every field: the builder holds the window's defaults again (and its builds
 * take every field from kessett/default.kst when they apply that file and it is there). */
LORVEX_API int lorvex_reset_parameters(LorvexBuilder* builder);

/* The number of parameter fields (103; LORVEX_ERROR_NULL_ARGUMENT for a NULL builder), and
 * the name of field i (0 .. 102) in the window's order, "txtLandMass(0)" first; NULL for any
 * other i or a NULL builder. The text lives as long as the builder. */
LORVEX_API int32_t lorvex_parameter_count(const LorvexBuilder* builder);
LORVEX_API const char* lorvex_parameter_name(const LorvexBuilder* builder, int32_t i);

/* Loads a settings file as the window's Load Settings does: each line that names a field
 * sets it (other lines are skipped), then every field is held to its range. The builder
 * holds each field the file named. The file is read whole first: a file that cannot be
 * read (LORVEX_ERROR_FILE) changes nothing. */
LORVEX_API int lorvex_load_settings(LorvexBuilder* builder, const char* path);

/* Saves all 103 fields as the window's Save Settings does (one line "Name(Index) = value"
 * each, CR LF): written beside the file and renamed over it, so a failed save
 * (LORVEX_ERROR_FILE) leaves the old file as it was. The path must name a regular file or
 * nothing yet: a device, a FIFO or a folder is refused (LORVEX_ERROR_FILE) and left alone.
 * A symbolic link is followed: the file it names is written, and the link stays. */
LORVEX_API int lorvex_save_settings(const LorvexBuilder* builder, const char* path);

/* Presses Recommend for a map of width x height: draws land-mass numbers and sizes that
 * suit the map (and clears the "=" boxes), which the builder then holds. The draws come
 * from the seed given to lorvex_set_seed when one is waiting (it still seeds the next
 * build), otherwise from the clock. LORVEX_ERROR_NO_RECOMMENDATION changes nothing. */
LORVEX_API int lorvex_recommend(LorvexBuilder* builder, int32_t width, int32_t height);

/* ---- Building ---- */

/* Opens the parameters window for a map of width x height squares (wrapping east-west when
 * wrap is not 0): it applies kessett/default.kst of the current directory when the builder
 * is told to (lorvex_set_default_settings_file), then the fields the builder holds.
 * Answers LORVEX_BUILT (1) when a world was built: it replaces the builder's world, and
 * lorvex_last_seed gives its seed. Any other answer keeps the previous world, the seed
 * waiting from lorvex_set_seed and lorvex_last_seed as they were, and lorvex_last_error
 * says why:
 *   LORVEX_CANCELLED (0)        the person closed the window without a build;
 *   LORVEX_ERROR_REFUSED        the window refused the parameters with one of its messages,
 *                               which lorvex_last_error gives word for word: "Please Select
 *                               at least One Building Algorithm", "Shapes Algorithm is
 *                               Selected, Please Select at least One Shape", or the land
 *                               warning ("Warning: Average Land % is Greater than 50%. ...")
 *                               answered No;
 *   LORVEX_ERROR_STOPPED        lorvex_request_stop, or the stop question answered Yes;
 *   LORVEX_ERROR_NO_WINDOW      not headless, and no window a person could use: no screen,
 *                               or a thread other than the program's main one;
 *   LORVEX_ERROR_MAP_SIZE       a size outside 1 .. LORVEX_MAX_MAP_SIDE;
 *   LORVEX_ERROR_OUT_OF_MEMORY, LORVEX_ERROR_INTERNAL, LORVEX_ERROR_NULL_ARGUMENT.
 * Hosts test lorvex_build(...) == LORVEX_BUILT. (A host written when the answer was 1 or 0
 * and that tests it for truth reads the new negative answers as built.)
 * Without a headless build (below) the window is shown on the screen when the process can
 * show windows (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set; a QApplication is made
 * for the call when the program has none) and the person builds or cancels. */
LORVEX_API int lorvex_build(LorvexBuilder* builder, int32_t width, int32_t height, int wrap);

/* The seed of the next lorvex_build that builds a world (otherwise, and for the builds
 * after it, the clock seeds it). One seed and one parameter set always give the same
 * world. */
LORVEX_API void lorvex_set_seed(LorvexBuilder* builder, uint64_t seed);
/* The key of the next lorvex_build only, as lorvex_last_key writes it: "SEED", or
 * "SEED-DRAWS" for a world whose window gave DRAWS draws of its generator away before Build
 * was pressed (a person pressed Recommend, or stopped a build, in the window first); the
 * generator is seeded with SEED and skips DRAWS draws (about a nanosecond each) before the
 * window opens. "42" is lorvex_set_seed(b, 42). Answers LORVEX_OK, or changes nothing:
 * LORVEX_ERROR_NULL_ARGUMENT, LORVEX_ERROR_BAD_VALUE (any other text, a SEED of 2^64 or
 * more, more than 2^40 DRAWS). */
LORVEX_API int lorvex_set_key(LorvexBuilder* builder, const char* key);
/* When not 0, every later lorvex_build presses the window's Build button at once, without a
 * screen, until it is set to 0 again. A question the window asks on the way is answered as
 * lorvex_set_question_answer says. */
LORVEX_API void lorvex_set_headless_build(LorvexBuilder* builder, int enabled);
/* How a headless build answers the window's Yes/No questions (the land warning): 1 Yes,
 * 0 No (the default, as a person who does not confirm; a parameter set that asks for more
 * land than the map has is then not built). */
LORVEX_API void lorvex_set_question_answer(LorvexBuilder* builder, int yes);

/* ---- The world, square by square ---- */

/* Host terrain number of the square at row-major position pos: 1 border water (T, B, A),
 * 2 city (Y), 3 forest (F), 4 clear (C), 5 sea (S), 6 rough (G), 7 mountains (M),
 * 8 river (R). x = pos % width and y = pos / width, truncating toward zero, with the width
 * of the last lorvex_build that opened the window, completed or cancelled; 4 when either
 * lies outside the world held (so -1 and width * height answer 4). */
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

/* The seed of the last world built (0 before any). */
LORVEX_API uint64_t lorvex_last_seed(const LorvexBuilder* builder);
/* The key of the last world built ("42", or "42-1873" after 1873 draws given away in the
 * window before Build), NUL-terminated into buffer of size bytes: lorvex_set_key with it and
 * the same parameters builds the same world. Answers the bytes the key needs with its NUL
 * (at most 35) as lorvex_get_parameter answers a value: (NULL, 0) only asks, a shorter
 * buffer gets an empty text and LORVEX_ERROR_BUFFER_TOO_SMALL. LORVEX_ERROR_NULL_ARGUMENT
 * for a NULL builder, or a NULL buffer with size > 0. */
LORVEX_API int64_t lorvex_last_key(const LorvexBuilder* builder, char* buffer, size_t size);
/* Size in squares of the last map built (0 before any). */
LORVEX_API int32_t lorvex_map_width(const LorvexBuilder* builder);
LORVEX_API int32_t lorvex_map_height(const LorvexBuilder* builder);
/* Number of cities on the last map built: its 'Y' squares (0 before any build). */
LORVEX_API int32_t lorvex_city_count(const LorvexBuilder* builder);

/* ---- The world in bulk ----
 * Each copy answers the number of elements the last world has (width * height for the
 * squares, lorvex_city_count for the cities; 0 before any build) and writes them to out
 * when n, the number of elements out holds, is at least that. Asked with n = 0 (out may be
 * NULL) a copy only answers the count. When n is from 1 to fewer than the count:
 * LORVEX_ERROR_BUFFER_TOO_SMALL, and nothing at all is written. Negative also:
 * LORVEX_ERROR_NULL_ARGUMENT for a NULL builder, or a NULL out with n > 0. */

/* The terrain letters, row-major (no NUL at the end): out[y * width + x]. */
LORVEX_API int64_t lorvex_copy_terrain(const LorvexBuilder* builder, char* out, size_t n);
/* The host terrain numbers (as lorvex_get_terrain_c), row-major. */
LORVEX_API int64_t lorvex_copy_terrain_numbers(const LorvexBuilder* builder, int16_t* out,
                                               size_t n);
/* The land mass of each square, row-major: the number (0 .. lorvex_mass_count() - 1) of
 * the mass that last laid land there, -1 where no mass did. A land square's number is the
 * mass it belongs to; a square that sea border covered (a later mass's, or on a wrapping
 * map narrower than a mass, the mass's own) keeps the number of the mass whose land it
 * was. */
LORVEX_API int64_t lorvex_copy_mass_of_square(const LorvexBuilder* builder, int32_t* out,
                                              size_t n);
/* The cities on the map in ordinal order (column-major). */
LORVEX_API int64_t lorvex_copy_cities(const LorvexBuilder* builder, LorvexCity* out, size_t n);

/* The number of land masses of the last world (0 before any build; negative for a NULL
 * builder): one per mass the build drew, Large first, then Medium, Small and the tiny
 * islands. */
LORVEX_API int32_t lorvex_mass_count(const LorvexBuilder* builder);
/* Mass i: its size class (0 Large, 1 Medium, 2 Small, 3 tiny islands) and the land squares
 * it wrote on the map (0 for a mass that found no room; on a wrapping map narrower than
 * the mass, a square it wrote twice counts twice). Either pointer may be NULL when that value
 * is not wanted. LORVEX_ERROR_NO_SUCH_MASS for i outside 0 .. lorvex_mass_count() - 1. */
LORVEX_API int lorvex_get_mass(const LorvexBuilder* builder, int32_t i, int* size_class,
                               int32_t* squares);

/* The component's version, "1.1.3": a static text the caller does not free. */
LORVEX_API const char* lorvex_version(void);

/* ---- What the fields mean ----
 * A catalogue of the 103 parameter fields, for a host that builds its own form or checks
 * what it sets. Field i (0 .. 102) is the field lorvex_parameter_name names; the texts are
 * static (they live as long as the library is loaded) and the same for every builder. */
typedef enum LorvexParameterInfoItem {
  LORVEX_INFO_NAME = 0,     /* Name(Index): "txtLandMass(0)" */
  LORVEX_INFO_PAGE = 1,     /* the page (tab) of the window it is on: "Land Masses" */
  LORVEX_INFO_LABEL = 2,    /* the texts the window shows for it, " / " between them:
                             * "Large / Number on Map / Lo"; a check box's caption */
  LORVEX_INFO_MEANING = 3,  /* what it does in a build */
  LORVEX_INFO_RANGE = 4,    /* the values it holds, in words */
  LORVEX_INFO_DEFAULT = 5,  /* its value in a fresh window, as a settings file writes it */
  LORVEX_INFO_MINIMUM = 6,  /* the least value the window holds it to, as a decimal text;
                             * "" when the window sets no such bound */
  LORVEX_INFO_MAXIMUM = 7   /* the greatest, the same way */
} LorvexParameterInfoItem;
/* One item of field i; NULL for i outside 0 .. 102 or an item not listed above. */
LORVEX_API const char* lorvex_parameter_info(int32_t i, int item);

/* The window on the screen is a library of its own, liblorvex-qt.so, which liblorvex.so
 * loads from its own folder on the first lorvex_build that shows the window (no headless
 * build, and a display named by DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM, or a program
 * that runs Qt itself). A host that never shows the window never loads Qt. When the window
 * should be shown and its library cannot be loaded, lorvex_build answers
 * LORVEX_ERROR_NO_WINDOW and lorvex_last_error says why. */

/* ---- Versions ----
 * The rule for what a minor version may change is at the top of this header. A host checks
 * at start that the library it loaded is the one it was built for, or a later minor:
 *   uint32_t v = lorvex_version_number();
 *   if (v / 1000000 != LORVEX_VERSION_MAJOR || v < LORVEX_VERSION) ... */
#define LORVEX_VERSION_MAJOR 1
#define LORVEX_VERSION_MINOR 1
#define LORVEX_VERSION_PATCH 3
#define LORVEX_VERSION_NUMBER(major, minor, patch) \
  ((uint32_t)(major) * 1000000u + (uint32_t)(minor) * 1000u + (uint32_t)(patch))
#define LORVEX_VERSION \
  LORVEX_VERSION_NUMBER(LORVEX_VERSION_MAJOR, LORVEX_VERSION_MINOR, LORVEX_VERSION_PATCH)
/* The library's version as LORVEX_VERSION_NUMBER packs it (1001003 for 1.1.3). */
LORVEX_API uint32_t lorvex_version_number(void);

/* ---- Stopping and watching a build ---- */

/* Asks the build running on this builder to stop at its next checkpoint (it then answers
 * LORVEX_ERROR_STOPPED). Safe from any thread and from the progress callback, at any time
 * while the builder exists: the one call that may meet another call on the same builder.
 * Asked while no build runs, it stops the next build at once; a build that returns has
 * answered it. A running build looks for it at least every few milliseconds. (A window on
 * the screen that waits for a person to press Build or Cancel is not closed by it; a build
 * started there is stopped, and the window then closes.) */
LORVEX_API void lorvex_request_stop(LorvexBuilder* builder);

/* Called on the building thread whenever the build enters another stage or its step on the
 * window's progress bar changes: the stage's name as the status bar shows it
 * ("Initializing Environment", "Large", "Medium", "Small", "Tiny Islands", "Terrain",
 * "Cities"; a text valid during the call), the step and the whole. A world built ends with
 * ("Built", whole, whole). The callback may call lorvex_request_stop and nothing else on
 * the builder. */
typedef void (*LorvexProgressCallback)(void* user, const char* stage, int32_t step,
                                       int32_t whole);
/* Sets the callback of later builds (NULL: none) and the pointer handed to it. */
LORVEX_API void lorvex_set_progress_callback(LorvexBuilder* builder,
                                             LorvexProgressCallback callback, void* user);

/* ---- What a host decides ---- */

/* When not 0, every later build applies kessett/default.kst of the working folder to the
 * fields the builder does not hold, as the window does when a person opens it. A new
 * builder does not (0): the fields it does not hold keep the window's defaults, so one seed
 * and one parameter set give the same world whatever folder the game runs in. */
LORVEX_API void lorvex_set_default_settings_file(LorvexBuilder* builder, int use);

/* The folder the window's Load Settings and Save Settings buttons open, and make when it
 * is missing (a copy is kept); NULL or "" gives back kessett of the working folder. */
LORVEX_API int lorvex_set_settings_folder(LorvexBuilder* builder, const char* folder);

/* Loads the text of a settings file from memory (length bytes; it need not end in a NUL),
 * as lorvex_load_settings loads a file. */
LORVEX_API int lorvex_load_settings_text(LorvexBuilder* builder, const char* text,
                                         size_t length);

/* All 103 fields as the text lorvex_save_settings writes, NUL-terminated, into buffer of
 * size bytes, as lorvex_get_parameter writes a value: answers the bytes needed with the
 * NUL ((NULL, 0) only asks), LORVEX_ERROR_BUFFER_TOO_SMALL for a shorter buffer. */
LORVEX_API int64_t lorvex_save_settings_text(const LorvexBuilder* builder, char* buffer,
                                             size_t size);

#ifdef __cplusplus
}
#endif

#endif
