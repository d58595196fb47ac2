// The entries of liblorvex-qt.so (ui/qt/window_module.h): the only symbols the library
// exports.
#include "ui/qt/window_module.h"

#include "ui/qt/window_platform_qt.h"

#define LORVEX_QT_ENTRY extern "C" __attribute__((visibility("default")))

LORVEX_QT_ENTRY lorvex::ui::qt::WindowLibraryStamp lorvex_qt_window_stamp() {
  return lorvex::ui::qt::ThisWindowLibraryStamp();
}

LORVEX_QT_ENTRY lorvex::platform::Platform* lorvex_qt_window_open() {
  try {
    return lorvex::ui::qt::MakeQtWindowPlatform().release();
  } catch (...) {
    return nullptr;
  }
}
