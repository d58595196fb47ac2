// The parameters window on the screen, for the builders of liblorvex.so. The window is Qt's
// and lives in a library of its own, liblorvex-qt.so, beside liblorvex.so: it is opened on
// the first Build that needs a screen, so a host that never shows the window never loads
// Qt, and liblorvex.so itself needs nothing of Qt.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace lorvex::capi {

// The file name of the window's library, looked for in the folder liblorvex.so was loaded
// from (never the working folder nor the loader's search path).
inline constexpr const char* kWindowLibraryName = "liblorvex-qt.so";

// A window that should be shown and cannot be: what() says why.
class WindowUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether a Build without a headless flag should show the real window: the environment
// names a display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM), or the program already
// runs Qt (its own application window).
bool WindowWanted();

// The platform of the real window, or nothing when this process has no screen (the window
// then runs headless and, with nobody to press Build, is cancelled). Loads the window's
// library on first use and keeps it for the life of the process. Throws WindowUnavailable
// when a screen is there but the library cannot be loaded, or when it is of another
// version than this liblorvex.so.
std::unique_ptr<platform::Platform> OpenQtWindow();

}  // namespace lorvex::capi
