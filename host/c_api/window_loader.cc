#include "host/c_api/window_loader.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <mutex>

#include "ui/qt/window_module.h"

namespace lorvex::capi {

namespace {

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// The folder liblorvex.so was loaded from, as the loader resolved it when it loaded the
// library (so a relative path it was loaded by, and any later change of the working folder,
// do not matter).
std::string OwnFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr)
    throw WindowUnavailable("the library cannot tell where it was loaded from");
  void* self = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (self == nullptr) throw WindowUnavailable("the library cannot tell where it was loaded from");
  char origin[PATH_MAX + 1] = {};
  const int answer = dlinfo(self, RTLD_DI_ORIGIN, origin);
  dlclose(self);
  if (answer != 0 || origin[0] != '/')
    throw WindowUnavailable("the library cannot tell where it was loaded from");
  return origin;
}

// The window library, once it has been opened; it stays loaded for the life of the process
// (Qt does not take being unloaded).
struct WindowLibrary {
  std::mutex mutex;
  ui::qt::WindowOpenFunction open = nullptr;
  std::string failure;  // why it could not be opened, once tried
};

WindowLibrary& Library() {
  static WindowLibrary library;
  return library;
}

ui::qt::WindowOpenFunction LoadWindowLibrary(std::string& failure) {
  const std::string path = OwnFolder() + "/" + kWindowLibraryName;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = dlerror();
    failure = "the parameters window cannot be shown: its library " + path + " cannot be loaded (" +
              (error != nullptr ? error : "unknown error") + ")";
    return nullptr;
  }
  const auto stamp = reinterpret_cast<ui::qt::WindowStampFunction>(dlsym(handle, ui::qt::kWindowStampEntry));
  const auto open = reinterpret_cast<ui::qt::WindowOpenFunction>(dlsym(handle, ui::qt::kWindowOpenEntry));
  const ui::qt::WindowLibraryStamp own = ui::qt::ThisWindowLibraryStamp();
  if (stamp == nullptr || open == nullptr) {
    failure = "the parameters window cannot be shown: " + path + " is not the window's library";
  } else if (const ui::qt::WindowLibraryStamp found = stamp(); std::string(found.version) != own.version) {
    failure = "the parameters window cannot be shown: " + path + " is of version " + found.version +
              ", not " + own.version;
  } else if (found.layout != own.layout) {
    failure = "the parameters window cannot be shown: " + path + " is of another build of version " +
              own.version;
  } else {
    return open;
  }
  // A library of another version stays loaded but unused: closing it would run its
  // destructors for nothing.
  return nullptr;
}

}  // namespace

bool WindowWanted() {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM")) return true;
  // A Qt program (its own window on a platform named in code) may show ours as well.
  void* qt = dlopen("libQt6Widgets.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (qt == nullptr) return false;
  dlclose(qt);
  return true;
}

std::unique_ptr<platform::Platform> OpenQtWindow() {
  if (!WindowWanted()) return nullptr;
  WindowLibrary& library = Library();
  ui::qt::WindowOpenFunction open = nullptr;
  {
    const std::lock_guard<std::mutex> lock(library.mutex);
    if (library.open == nullptr && library.failure.empty()) {
      std::string failure;
      library.open = LoadWindowLibrary(failure);
      library.failure = library.open == nullptr ? failure : "";
    }
    if (library.open == nullptr) throw WindowUnavailable(library.failure);
    open = library.open;
  }
  return std::unique_ptr<platform::Platform>(open());
}

}  // namespace lorvex::capi
