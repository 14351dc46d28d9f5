// The focused window is the top-level window the window manager made active, with the process
// that shows it: a window of another process and one of the asking process itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/x11/x11_focused_window.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/x11/in_process_receiver.h"
#include "tests/x11/receiver_process.h"
#include "tests/x11/test_desktop.h"

namespace plumwick::x11_test {
namespace {

TEST(FocusedWindow, IsTheActiveWindowOfAnotherProcess) {
  ReceiverProcess first(TestDesktop(), PLUMWICK_X11_RECEIVER, "focus receiver one");
  ReceiverProcess second(TestDesktop(), PLUMWICK_X11_RECEIVER, "focus receiver two");
  X11FocusedWindow focus(TestDesktop().Display());
  for (const ReceiverProcess* receiver : {&first, &second, &first}) {
    receiver->Activate();
    const DesktopWindow expected{receiver->Window(), receiver->Pid()};
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return focus.Focused() == expected; }, std::chrono::seconds(5)))
        << "focused: " << focus.Focused().id << " of " << focus.Focused().pid
        << ", expected: " << expected.id << " of " << expected.pid;
  }
}

TEST(FocusedWindow, IsAWindowOfThisProcess) {
  InProcessReceiver receiver;
  receiver.Activate();
  X11FocusedWindow focus;  // through $DISPLAY, which main set to the test desktop
  EXPECT_EQ(focus.Focused(),
            (DesktopWindow{receiver.Window(), static_cast<std::int64_t>(getpid())}));
}

}  // namespace
}  // namespace plumwick::x11_test
