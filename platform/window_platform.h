// Which platform shows the parameters window of a clsBuild that was given none: a window
// toolkit binding registers a factory here, and clsBuild asks it at every Build. Without a
// factory, or when the factory answers none (no display), the window runs headless and,
// with nobody to press Build, is cancelled.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace lorvex {

// Answers the platform of the real window, or nothing when windows cannot be shown.
using WindowPlatformFactory = std::unique_ptr<platform::Platform> (*)();

// Registers the factory (nullptr removes it). Safe to call from any thread.
void SetWindowPlatformFactory(WindowPlatformFactory factory);

// The registered factory's answer, or nothing.
std::unique_ptr<platform::Platform> MakeWindowPlatform();

}  // namespace lorvex
