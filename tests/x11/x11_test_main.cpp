// Main of the keystroke test program: starts a private desktop, points this process's Qt at it
// (some tests type into a window of this very process), runs the tests and takes it all down.
//
//   x11_keystrokes_test [--desktop=xvfb|mutter|kwin] [gtest flags]
//
// xvfb (the default) is Xvfb with openbox; mutter and kwin run that compositor headless and type
// on its XWayland, which accepts fewer keymap changes than Xvfb does.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/x11/test_desktop.h"

namespace {

// Takes --desktop=KIND out of the arguments.
std::string DesktopKind(int& argc, char** argv) {
  std::string kind = "xvfb";
  constexpr const char* kFlag = "--desktop=";
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, std::strlen(kFlag)) == 0) {
      kind = argv[i] + std::strlen(kFlag);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return kind;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string kind = DesktopKind(argc, argv);
  std::unique_ptr<plumwick::x11_test::TypingDesktop> desktop;
  try {
    desktop = plumwick::x11_test::StartTypingDesktop(kind);
  } catch (const std::exception& error) {
    // A failure, not a skip: a desktop that cannot start is a broken test machine.
    std::fprintf(stderr, "the %s test desktop did not start: %s\n", kind.c_str(), error.what());
    return 1;
  }
  for (const char* name :
       {"DISPLAY", "XAUTHORITY", "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS"}) {
    const auto value = desktop->Env().find(name);
    if (value != desktop->Env().end()) {
      setenv(name, value->second.c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  unsetenv("WAYLAND_DISPLAY");
  plumwick::x11_test::SetTestDesktop(desktop.get());

  int result = 1;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
    // Its bindings go while the display is still there.
    plumwick::x11_test::ReleaseTestKeys();
  }
  plumwick::x11_test::SetTestDesktop(nullptr);
  desktop.reset();
  return result;
}
