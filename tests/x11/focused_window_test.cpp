// The focused window is the top-level window the window manager made active, with the process
// that shows it, its title and its program's name as a person sees them: a window of another
// process and one of the asking process itself, which the program may count as its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/x11/x11_focused_window.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/x11/in_process_receiver.h"
#include "tests/x11/receiver_process.h"
#include "tests/x11/test_desktop.h"

namespace plumwick::x11_test {
namespace {

TEST(FocusedWindow, IsTheActiveWindowOfAnotherProcessNamedByItsTitleAndProgram) {
  ReceiverProcess first(TestDesktop(), PLUMWICK_X11_RECEIVER, "focus receiver one");
  ReceiverProcess second(TestDesktop(), PLUMWICK_X11_RECEIVER, "focus receiver two");
  X11FocusedWindow focus(TestDesktop().Display());
  // The program file's whole name, though the kernel keeps only 15 bytes of it.
  const std::string program = std::filesystem::path(PLUMWICK_X11_RECEIVER).filename();
  ASSERT_GT(program.size(), 15u);
  for (const auto& [receiver, title] :
       {std::pair{&first, "focus receiver one"}, std::pair{&second, "focus receiver two"},
        std::pair{&first, "focus receiver one"}}) {
    receiver->Activate();
    const DesktopWindow expected{receiver->Window(), receiver->Pid()};
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return focus.Focused() == expected; }, std::chrono::seconds(5)))
        << "focused: " << focus.Focused().id << " of " << focus.Focused().pid
        << ", expected: " << expected.id << " of " << expected.pid;
    const DesktopWindow focused = focus.Focused();
    EXPECT_EQ(focused.title, title);
    EXPECT_EQ(focused.program, program);
    EXPECT_FALSE(focused.own);
  }
}

TEST(FocusedWindow, IsAWindowOfThisProcessWhichCountsAsOwnOnlyWhereTheProgramSaysSo) {
  InProcessReceiver receiver;
  receiver.Activate();
  X11FocusedWindow focus;  // through $DISPLAY, which main set to the test desktop
  const DesktopWindow focused = focus.Focused();
  EXPECT_EQ(focused, (DesktopWindow{receiver.Window(), static_cast<std::int64_t>(getpid())}));
  EXPECT_EQ(focused.title, "in-process receiver");
  EXPECT_FALSE(focused.own) << "the same process, but not said to be the program's own";

  X11FocusedWindow own_focus({}, [&](std::uint64_t id) { return id == receiver.Window(); });
  EXPECT_TRUE(own_focus.Focused().own);
}

}  // namespace
}  // namespace plumwick::x11_test
