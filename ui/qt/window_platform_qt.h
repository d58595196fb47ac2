// The Qt window for a builder that its host gave no platform: given to
// clsBuild::SetWindowPlatformFactory, it makes Build show the real parameters window
// whenever this process can show windows; the window stays headless otherwise.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace lorvex::ui::qt {

// A QtPlatform (with a QApplication of its own when the program has none), or nothing
// when windows cannot be shown here; a display that is set but unusable is reported on
// standard error.
std::unique_ptr<platform::Platform> MakeQtWindowPlatform();

}  // namespace lorvex::ui::qt
