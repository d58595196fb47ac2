#include "platform/window_platform.h"

#include <atomic>

namespace lorvex {

namespace {
// The one process-wide choice of window toolkit; the binding linked into the process sets it.
std::atomic<WindowPlatformFactory> windowPlatformFactory{nullptr};
}  // namespace

void SetWindowPlatformFactory(WindowPlatformFactory factory) {
  windowPlatformFactory.store(factory);
}

std::unique_ptr<platform::Platform> MakeWindowPlatform() {
  const WindowPlatformFactory factory = windowPlatformFactory.load();
  return factory != nullptr ? factory() : nullptr;
}

}  // namespace lorvex
