#include "ui/qt/window_platform_qt.h"

#include <cstdio>
#include <string>

#include "ui/qt/qt_platform.h"

namespace lorvex::ui::qt {

std::unique_ptr<platform::Platform> MakeQtWindowPlatform() {
  std::string why;
  std::unique_ptr<QtPlatform> platform = QtPlatform::ForThisProcess(why);
  // Without any display the headless window is what the host expects; anything else is
  // a display it meant to use.
  if (platform == nullptr && !why.empty())
    std::fprintf(stderr, "lorvex: the parameters window cannot be shown: %s\n", why.c_str());
  return platform;
}

}  // namespace lorvex::ui::qt
