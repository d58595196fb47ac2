// The Qt window as the window of every clsBuild that its host gave no platform: once
// installed, Build shows the real parameters window whenever this process can show
// windows, and stays headless otherwise.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace lorvex::ui::qt {

// Registers MakeQtWindowPlatform with clsBuild (platform/window_platform.h).
void InstallQtWindowPlatform();

// A QtPlatform (with a QApplication of its own when the program has none), or nothing
// when windows cannot be shown here; a display that is set but unusable is reported on
// standard error.
std::unique_ptr<platform::Platform> MakeQtWindowPlatform();

}  // namespace lorvex::ui::qt
