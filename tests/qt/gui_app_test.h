// The fixture of lorvex-gui's tests: the app over the test's platform, preferences and
// settings in the test's folder.
#pragma once

#include <QTest>

#include "apps/lorvex-gui/app_window.h"
#include "engine/world_hash.h"
#include "qt_test_support.h"

namespace lorvex::qttest {

// The world a builder with no window makes of these parameters and this key.
inline std::uint64_t HeadlessHash(const ParameterFields& parameters, const WorldKey& key, int width, int height) {
  clsBuild alone;
  alone.SetHeadlessBuild(true);
  alone.SetQuestionAnswer(true);
  alone.SetParameters(parameters);
  alone.SetNextKey(key);
  EXPECT_TRUE(alone.Build(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height), true));
  return HostWorldHash(alone.World());
}

class GuiAppTest : public QtWindowTest {
 protected:
  void TearDown() override {
    app_.reset();
    QtWindowTest::TearDown();
  }
  gui::AppWindow& OpenApp(int width, int height, std::uint64_t seed) {
    gui::AppOptions options{width, height, true, WorldKey{seed, 0}, Path("preferences.ini")};
    options.settingsFolder = Path("own");
    app_ = std::make_unique<gui::AppWindow>(*platform_, options);
    app_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(app_.get()));
    return *app_;
  }
  // What the parameters window does each time it opens from now on.
  void OnWindow(std::function<void(ui::qt::BuildDialog&)> script) { platform_->OnWindowShown(std::move(script)); }
  QString Path(const QString& name) const { return folder_.filePath(name); }

  std::unique_ptr<gui::AppWindow> app_;
};

}  // namespace lorvex::qttest
