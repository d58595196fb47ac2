// The window as a host of liblorvex.so sees it: a Build without a headless flag, in a program
// that runs Qt, loads liblorvex-qt.so from beside liblorvex.so and shows the parameters
// window; a person's click on Build builds the world the host then reads.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <fstream>
#include <sstream>

#include "host/c_api/lorvex.h"
#include "params/build_parameters.h"
#include "qt_test_support.h"

namespace lorvex::qttest {
namespace {

std::string MappedFiles() {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str();
}

// The parameters window on the screen, or nullptr.
QWidget* ShownParametersWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->windowTitle() == QString::fromLatin1(params::kWindowCaption)) return window;
  return nullptr;
}

TEST(WindowLibrary, ABuildThroughTheCInterfaceShowsTheWindowFromItsOwnLibrary) {
  App();
  void* library = dlopen(LORVEX_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto create = reinterpret_cast<decltype(&lorvex_create)>(dlsym(library, "lorvex_create"));
  const auto seed = reinterpret_cast<decltype(&lorvex_set_seed)>(dlsym(library, "lorvex_set_seed"));
  const auto build = reinterpret_cast<decltype(&lorvex_build)>(dlsym(library, "lorvex_build"));
  const auto width = reinterpret_cast<decltype(&lorvex_map_width)>(dlsym(library, "lorvex_map_width"));
  const auto destroy = reinterpret_cast<decltype(&lorvex_destroy)>(dlsym(library, "lorvex_destroy"));
  EXPECT_EQ(MappedFiles().find("liblorvex-qt.so"), std::string::npos);

  int inputs = 0;
  When([] { return ShownParametersWindow() != nullptr; }, [&] {
    QWidget* window = ShownParametersWindow();
    inputs = static_cast<int>(window->findChildren<QWidget*>(QRegularExpression(QStringLiteral("^(txt|chk|cbo)"))).size());
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdBuild(0)")), Qt::LeftButton);
  }, 60000, [] {
    if (QWidget* window = ShownParametersWindow()) window->close();
  });
  LorvexBuilder* builder = create();
  seed(builder, 11);
  EXPECT_EQ(build(builder, 200, 150, 1), 1);  // no land warning at this size
  EXPECT_EQ(width(builder), 200);
  EXPECT_EQ(inputs, 103);
  destroy(builder);
  EXPECT_NE(MappedFiles().find("liblorvex-qt.so"), std::string::npos);
  CancelSteps();
}

}  // namespace
}  // namespace lorvex::qttest
