// What liblorvex-qt.so, the library of the window on the screen, gives the liblorvex.so
// that opens it: one function that makes the window's platform, and a stamp by which the
// two check that they were built from the same sources (they hand each other C++ objects,
// so a library of another version or layout must not be used). No Qt header is included
// here: liblorvex.so reads this without Qt.
#pragma once

#include <cstddef>

#include "common/version.h"
#include "platform/control.h"
#include "platform/platform.h"
#include "ui/frm_build.h"

namespace lorvex::ui::qt {

struct WindowLibraryStamp {
  const char* version;  // the component's version text
  std::size_t layout;   // sizes of the objects the two libraries share
};

inline WindowLibraryStamp ThisWindowLibraryStamp() {
  return {kVersionText, sizeof(frmBuild) * 4096 + sizeof(platform::Control) * 16 + sizeof(platform::ControlSet)};
}

// The names of the two entries, as dlsym looks them up.
inline constexpr const char* kWindowStampEntry = "lorvex_qt_window_stamp";
inline constexpr const char* kWindowOpenEntry = "lorvex_qt_window_open";

// The stamp of the library.
using WindowStampFunction = WindowLibraryStamp (*)();
// A new platform of the real window, owned by the caller, or nullptr when this process
// cannot show windows (a display that is set but unusable is reported on standard error).
using WindowOpenFunction = platform::Platform* (*)();

}  // namespace lorvex::ui::qt
