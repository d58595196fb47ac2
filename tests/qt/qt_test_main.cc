// The Qt binding's tests run under Qt's offscreen platform whatever the environment says,
// so that they never open a window on a person's screen. Each test makes the application
// when it needs one (qt_test_support.h): some need a process without one.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "qt_test_support.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  // Before the exit handlers: Qt's own statics may be gone by the time they run.
  lorvex::qttest::DropApp();
  return status;
}
