// How hosts reach the window: clsBuild without a platform of its own shows it through its
// window factory (making the program's QApplication when there is none, and removing it
// again), the C interface of liblorvex.so shows it from one call, sizes outside the range
// answer False without a window, and without a display the window stays headless.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <optional>
#include <string>

#include "event_steps.h"
#include "host/c_api/lorvex.h"
#include "qt_test_support.h"
#include "ui/qt/window_platform_qt.h"

namespace lorvex::qttest {
namespace {

constexpr const char* kCaption = "Kestrin's Random Map Builder - Parameters";

// Sets environment variables for one test and puts them back after.
class Environment {
 public:
  void Set(const char* name, const char* value) {
    if (!saved_.contains(name)) {
      const char* old = std::getenv(name);
      saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value != nullptr)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~Environment() {
    for (const auto& [name, value] : saved_)
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// What the factory-made window is to do, for the test factory below.
std::function<void(ui::qt::BuildDialog&)> windowScript;
int factoryWindows = 0;

// The Qt factory, with the window driven by windowScript.
std::unique_ptr<platform::Platform> ScriptedQtFactory() {
  std::unique_ptr<platform::Platform> made = ui::qt::MakeQtWindowPlatform();
  if (auto* qtPlatform = dynamic_cast<ui::qt::QtPlatform*>(made.get()))
    qtPlatform->OnWindowShown([](ui::qt::BuildDialog& dialog) {
      ++factoryWindows;
      ArmWatchdog(dialog);
      windowScript(dialog);
    });
  return made;
}

class Factory : public ::testing::Test {
 protected:
  void SetUp() override { host.SetWindowPlatformFactory(&ScriptedQtFactory); }
  void TearDown() override { CancelSteps(); }
  clsBuild host;
};

TEST_F(Factory, AProgramWithoutQApplicationGetsTheWindowAndOneMadeForTheCall) {
  DropApp();
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  bool applicationDuringBuild = false;
  factoryWindows = 0;
  windowScript = [&](ui::qt::BuildDialog& dialog) {
    applicationDuringBuild = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    static_cast<QPushButton*>(dialog.WidgetOf("cmdBuild", 0))->click();
  };
  host.SetNextSeed(3);
  EXPECT_TRUE(host.Build(200, 150, false));
  EXPECT_EQ(factoryWindows, 1);
  EXPECT_TRUE(applicationDuringBuild);
  EXPECT_EQ(QCoreApplication::instance(), nullptr);  // gone with the call
  EXPECT_EQ(host.GetTerrainVB(0, 0), "A");
  // A second Build makes its application again.
  windowScript = [](ui::qt::BuildDialog& dialog) { dialog.close(); };
  EXPECT_FALSE(host.Build(200, 150, false));
  EXPECT_EQ(factoryWindows, 2);
}

TEST_F(Factory, SizesOutsideTheRangeAnswerFalseWithoutAWindow) {
  App();
  factoryWindows = 0;
  windowScript = [](ui::qt::BuildDialog& dialog) { dialog.close(); };
  for (const auto& [width, height] : {std::pair{0, 0}, std::pair{5000, 5000}, std::pair{1, 0},
                                      std::pair{4097, 10}, std::pair{-3, 10}})
    EXPECT_FALSE(host.Build(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height), true))
        << width << " x " << height;
  EXPECT_EQ(factoryWindows, 0);
}

TEST_F(Factory, WithoutADisplayTheWindowStaysHeadlessAndIsCancelled) {
  DropApp();
  Environment environment;
  environment.Set("QT_QPA_PLATFORM", nullptr);
  environment.Set("DISPLAY", nullptr);
  environment.Set("WAYLAND_DISPLAY", nullptr);
  factoryWindows = 0;
  EXPECT_FALSE(host.Build(20, 20, true));
  EXPECT_EQ(factoryWindows, 0);
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST_F(Factory, ADisplayThatDoesNotAnswerIsReportedAndTheWindowStaysHeadless) {
  DropApp();
  Environment environment;
  environment.Set("QT_QPA_PLATFORM", nullptr);
  environment.Set("WAYLAND_DISPLAY", nullptr);
  environment.Set("DISPLAY", ":97.0");  // no X server there
  std::string why;
  EXPECT_EQ(ui::qt::QtPlatform::ForThisProcess(why), nullptr);
  EXPECT_FALSE(why.empty());
  factoryWindows = 0;
  EXPECT_FALSE(host.Build(20, 20, true));
  EXPECT_EQ(factoryWindows, 0);
}

// liblorvex.so, loaded as a host in another language loads it, in a program whose
// QApplication already runs: its window is found among the top-level windows and clicked.
class CInterface : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    library_ = dlopen(LORVEX_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    CancelSteps();
    if (library_ != nullptr) dlclose(library_);
  }
  template <typename F>
  F* Symbol(const char* name) {
    return reinterpret_cast<F*>(dlsym(library_, name));
  }
  // Clicks a button of the library's window once it shows.
  static void ClickWhenShown(const char* button, int* windows) {
    When([] { return ShownWindowTitled(QString::fromLatin1(kCaption)) != nullptr; }, [=] {
      ++*windows;
      QWidget* window = ShownWindowTitled(QString::fromLatin1(kCaption));
      auto* target = window->findChild<QPushButton*>(QString::fromLatin1(button));
      ASSERT_NE(target, nullptr) << button;
      QTest::mouseClick(target, Qt::LeftButton);
    }, 120000, [] { ADD_FAILURE() << "the library's window did not show"; });
  }
  void* library_ = nullptr;
};

TEST_F(CInterface, OneCallShowsTheWindowAndItsButtonsDecide) {
  auto* create = Symbol<decltype(lorvex_create)>("lorvex_create");
  auto* destroy = Symbol<decltype(lorvex_destroy)>("lorvex_destroy");
  auto* build = Symbol<decltype(lorvex_build)>("lorvex_build");
  auto* width = Symbol<decltype(lorvex_map_width)>("lorvex_map_width");
  auto* setSeed = Symbol<decltype(lorvex_set_seed)>("lorvex_set_seed");
  ASSERT_TRUE(create && destroy && build && width && setSeed);
  LorvexBuilder* builder = create();
  ASSERT_NE(builder, nullptr);
  int windows = 0;
  BoxAnswerer no(QMessageBox::No);  // a question would fail the build, not hold the test
  ClickWhenShown("cmdCancel(0)", &windows);
  EXPECT_EQ(build(builder, 200, 150, 1), 0);
  EXPECT_EQ(windows, 1);
  setSeed(builder, 11);
  ClickWhenShown("cmdBuild(0)", &windows);
  EXPECT_EQ(build(builder, 200, 150, 1), 1);
  EXPECT_EQ(windows, 2);
  EXPECT_EQ(width(builder), 200);
  EXPECT_TRUE(no.Texts().empty());
  // Out of range: no window, at once.
  EXPECT_EQ(build(builder, 0, 0, 0), 0);
  EXPECT_EQ(build(builder, 5000, 5000, 0), 0);
  EXPECT_EQ(windows, 2);
  destroy(builder);
}

}  // namespace
}  // namespace lorvex::qttest
