/* Stands in for the window's library of another version: it has both entries, and its stamp
 * names a version no build of this tree has. */
#include <stddef.h>

struct Stamp {
  const char* version;
  size_t layout;
};

__attribute__((visibility("default"))) struct Stamp lorvex_qt_window_stamp(void) {
  struct Stamp stamp = {"0.9.0", 1};
  return stamp;
}

__attribute__((visibility("default"))) void* lorvex_qt_window_open(void) { return NULL; }
