/* Stands in for a library a program needs, planted in the working folder: loading it ends
 * the program at once, with status 97. */
#include <unistd.h>

__attribute__((constructor)) static void Planted(void) {
  static const char kText[] = "a library planted in the working folder was loaded\n";
  (void)!write(2, kText, sizeof kText - 1);
  _exit(97);
}
