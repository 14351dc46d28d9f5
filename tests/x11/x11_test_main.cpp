// Main of the keystroke test program: starts a private desktop, points this process's Qt at it
// (some tests type into a window of this very process), runs the tests and takes it all down.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "tests/x11/test_desktop.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<plumwick::e2e::DesktopSession> session;
  try {
    session = std::make_unique<plumwick::e2e::DesktopSession>();
  } catch (const std::exception& error) {
    // A failure, not a skip: a desktop that cannot start is a broken test machine.
    std::fprintf(stderr, "the test desktop did not start: %s\n", error.what());
    return 1;
  }
  for (const char* name : {"DISPLAY", "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS"}) {
    setenv(name, session->Env().at(name).c_str(), 1);
  }
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  unsetenv("WAYLAND_DISPLAY");
  plumwick::x11_test::SetTestDesktop(session.get());

  int result = 1;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
    // Its bindings go while the display is still there.
    plumwick::x11_test::ReleaseTestKeys();
  }
  plumwick::x11_test::SetTestDesktop(nullptr);
  session.reset();
  return result;
}
