// lorvex-gui's tests run under Qt's offscreen platform whatever the environment says, so
// that they never open a window on a person's screen; the test under X runs this program
// again with LORVEX_GUI_TEST_PLATFORM=xcb and DISPLAY naming the server it started.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "qt_test_support.h"

int main(int argc, char** argv) {
  const QByteArray chosen = qgetenv("LORVEX_GUI_TEST_PLATFORM");
  qputenv("QT_QPA_PLATFORM", chosen.isEmpty() ? QByteArray("offscreen") : chosen);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  // Before the exit handlers: Qt's own statics may be gone by the time they run.
  lorvex::qttest::DropApp();
  return status;
}
