// The focused window is the top-level window around the X input focus: the one a window manager
// names active when the input focus is in or around it, otherwise (no such window manager, or one
// that has not caught up with a focus change yet) the one found from the input focus. On a bare X
// server of the test's own (no window manager), with windows and properties made here by hand.
// On the same server, keys a killed Plumwick left bound are given back by the next one.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "platform/x11/x11_borrowed_keys.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_focused_window.h"
#include "platform/x11/x11_keymap_writer.h"
#include "platform/x11/x11_layout_reader.h"
#include "platform/x11/x11_window_facts.h"
#include "platform/x11/x11_window_manager.h"
#include "tests/e2e/harness/child_process.h"

// After every other header: Xlib defines None, Bool and more as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace plumwick::x11_test {
namespace {

using e2e::ChildProcess;

class BareDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* path = std::getenv("PATH");
    xvfb_ = std::make_unique<ChildProcess>(e2e::ProcessOptions{
        .argv = {"Xvfb", "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"},
        .env = {{"PATH", path != nullptr ? path : "/usr/bin:/bin"}}});
    const auto number = xvfb_->WaitForLine("^[0-9]+$", std::chrono::seconds(15));
    ASSERT_TRUE(number) << xvfb_->Describe();
    name_ = ":" + *number;
    display_ = XOpenDisplay(name_.c_str());
    ASSERT_NE(display_, nullptr);
  }
  static void TearDownTestSuite() {
    if (display_ != nullptr) XCloseDisplay(display_);
    display_ = nullptr;
    xvfb_.reset();
  }

  void SetUp() override { ASSERT_NE(display_, nullptr); }
  void TearDown() override {
    for (Window window : made_) XDestroyWindow(display_, window);
    XDeleteProperty(display_, Root(), Intern("_NET_ACTIVE_WINDOW"));
    XSetInputFocus(display_, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
  }

  static Window Root() { return DefaultRootWindow(display_); }
  static Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

  Window Make(Window parent, int x, int y, int size) {
    const Window window = XCreateSimpleWindow(display_, parent, x, y, size, size, 0, 0, 0);
    XMapWindow(display_, window);
    if (parent == Root()) made_.push_back(window);
    return window;
  }
  void SetCardinal(Window window, const char* name, unsigned long value) {
    XChangeProperty(display_, window, Intern(name), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&value), 1);
  }
  void SetWindowProperty(Window window, const char* name, Window value) {
    XChangeProperty(display_, window, Intern(name), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&value), 1);
  }
  void MarkManaged(Window window) {
    const long state[2] = {1, 0};  // NormalState, no icon
    XChangeProperty(display_, window, Intern("WM_STATE"), Intern("WM_STATE"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
  }
  void Focus(Window window) {
    XSync(display_, False);
    XSetInputFocus(display_, window, RevertToNone, CurrentTime);
    XSync(display_, False);
  }

  // Asked on a connection of its own, as the program does: what this one set must be through.
  DesktopWindow Focused() {
    XSync(display_, False);
    return X11FocusedWindow(name_).Focused();
  }

  static inline std::unique_ptr<ChildProcess> xvfb_;
  static inline std::string name_;
  static inline Display* display_ = nullptr;
  std::vector<Window> made_;
};

TEST_F(BareDisplay, WalksUpFromTheFocusToTheTopLevelWindow) {
  const Window top = Make(Root(), 10, 10, 200);
  const Window child = Make(top, 10, 10, 100);
  const Window grandchild = Make(child, 10, 10, 50);
  SetCardinal(top, "_NET_WM_PID", 4242);
  const DesktopWindow expected{top, 4242};
  for (const Window focus : {top, child, grandchild}) {
    Focus(focus);
    EXPECT_EQ(Focused(), expected) << "focus on " << focus;
  }
}

TEST_F(BareDisplay, WindowWithoutProcessIdHasPidZero) {
  const Window top = Make(Root(), 10, 10, 200);
  Focus(Make(top, 0, 0, 20));
  EXPECT_EQ(Focused(), (DesktopWindow{top, 0}));
}

TEST_F(BareDisplay, NoFocusIsNoWindow) {
  Make(Root(), 10, 10, 200);
  Focus(None);
  EXPECT_EQ(Focused(), DesktopWindow{});
}

TEST_F(BareDisplay, FocusFollowingThePointerIsTheWindowUnderIt) {
  const Window left = Make(Root(), 0, 0, 100);
  const Window right = Make(Root(), 300, 0, 100);
  SetCardinal(left, "_NET_WM_PID", 11);
  SetCardinal(right, "_NET_WM_PID", 22);
  Focus(PointerRoot);
  XWarpPointer(display_, None, Root(), 0, 0, 0, 0, 350, 50);
  XSync(display_, False);
  EXPECT_EQ(Focused(), (DesktopWindow{right, 22}));
}

TEST_F(BareDisplay, ManagedWindowInsideAFrameIsTheTopLevel) {
  // What a window manager without the active-window property leaves: a frame around the
  // application's window, which it marks with WM_STATE.
  const Window frame = Make(Root(), 10, 10, 200);
  const Window client = Make(frame, 5, 20, 150);
  const Window inner = Make(client, 0, 0, 50);
  MarkManaged(client);
  SetCardinal(client, "_NET_WM_PID", 777);
  for (const Window focus : {frame, client, inner}) {
    Focus(focus);
    EXPECT_EQ(Focused(), (DesktopWindow{client, 777})) << "focus on " << focus;
  }
}

TEST_F(BareDisplay, ActiveWindowPropertyNamesTheWindowAroundTheInputFocus) {
  // A window manager's frame, the application's window it names active, and a child of that which
  // the application gave the focus to; none of them but the named one says whose it is.
  const Window frame = Make(Root(), 10, 10, 200);
  const Window active = Make(frame, 5, 20, 150);
  const Window inner = Make(active, 0, 0, 20);
  SetCardinal(active, "_NET_WM_PID", 31);
  SetWindowProperty(Root(), "_NET_ACTIVE_WINDOW", active);
  for (const Window focus : {frame, active, inner}) {
    Focus(focus);
    EXPECT_EQ(Focused(), (DesktopWindow{active, 31})) << "focus on " << focus;
  }
  // A window manager that says no window is active is believed too.
  SetWindowProperty(Root(), "_NET_ACTIVE_WINDOW", None);
  EXPECT_EQ(Focused(), DesktopWindow{});
}

TEST_F(BareDisplay, InputFocusElsewhereWinsOverTheActiveWindowTheManagerStillNames) {
  // The window manager names the active window only once it has handled the focus change, while
  // keys go to the new input focus at once: they would reach `focused`, not `active`.
  const Window active = Make(Root(), 10, 10, 100);
  const Window focused = Make(Root(), 300, 10, 100);
  SetCardinal(active, "_NET_WM_PID", 31);
  SetCardinal(focused, "_NET_WM_PID", 32);
  SetWindowProperty(Root(), "_NET_ACTIVE_WINDOW", active);
  Focus(Make(focused, 0, 0, 20));
  EXPECT_EQ(Focused(), (DesktopWindow{focused, 32}));
  Focus(None);
  EXPECT_EQ(Focused(), DesktopWindow{}) << "keys go nowhere";
}

// A program of a Wayland session that runs as a Wayland program has no window here, though it may
// be connected (to read the idle time, say); a toolkit's program has one from its start, shown or
// not, at the root or in a frame.
TEST_F(BareDisplay, OnlyAProcessWithAWindowIsOnTheDisplay) {
  X11WindowManager windows(name_);
  EXPECT_FALSE(windows.OnDisplay(getpid()));
  const Window frame = Make(Root(), 0, 0, 50);
  const Window window = Make(frame, 5, 5, 20);
  SetCardinal(window, "_NET_WM_PID", static_cast<unsigned long>(getpid()));
  XUnmapWindow(display_, window);
  XSync(display_, False);
  EXPECT_TRUE(windows.OnDisplay(getpid()));
  EXPECT_FALSE(windows.OnDisplay(getpid() + 1));
}

TEST_F(BareDisplay, KeysAKilledProgramLeftBoundAreGivenBackUnlessReboundSince) {
  const auto layout = x11::ReadKeyboardLayout(display_, 0, 0);
  ASSERT_GE(layout.empty.size(), 3U);
  const x11::Keycode omega = layout.empty[0], chinese = layout.empty[1], rebound = layout.empty[2];
  const std::vector<x11::KeycodeBinding> borrowed = {
      {omega, {0x10003a9, 0x10003a9}}, {chinese, {0x1004f60, 0x100597d}}, {rebound, {0xdf, 0xdf}}};
  {
    // The program that is killed: it records, binds, and its connection closes without a word,
    // after it recorded a new character for one of the keys and before it bound it there.
    const x11::DisplayPtr killed(XOpenDisplay(name_.c_str()));
    x11::BorrowedKeysRecord(killed.get()).Record(borrowed);
    x11::WriteKeycodeBindings(killed.get(), borrowed);
    std::vector<x11::KeycodeBinding> rebinding = borrowed;
    rebinding.push_back({chinese, {0x1005929, 0x1005929}});
    x11::BorrowedKeysRecord(killed.get()).Record(rebinding);
    XSync(killed.get(), False);
  }
  const x11::KeycodeBinding others = {rebound, {0x1002713, 0x1002713}};
  x11::WriteKeycodeBindings(display_, {others});
  XSync(display_, False);

  const x11::DisplayPtr next(XOpenDisplay(name_.c_str()));
  x11::BorrowedKeysRecord record(next.get());
  EXPECT_EQ(record.GiveBackLeftovers(), 2U);
  const auto after = x11::ReadKeyboardLayout(display_, 0, 0);
  for (const x11::Keycode keycode : {omega, chinese}) {
    EXPECT_TRUE(std::ranges::find(after.empty, keycode) != after.empty.end())
        << "keycode " << int{keycode} << " still bound";
  }
  EXPECT_EQ(after.first_levels.at(rebound), others.keysyms) << "someone else's key was emptied";
  const Atom property = Intern("_PLUMWICK_BORROWED_KEYS");
  EXPECT_FALSE(x11::HasProperty(display_, Root(), property));
  EXPECT_EQ(record.GiveBackLeftovers(), 0U);

  // A record that no Plumwick wrote (not whole triplets) is dropped without touching a key, also
  // when its first triplet matches a key.
  const unsigned long malformed[4] = {rebound, others.keysyms[0], others.keysyms[1], rebound};
  XChangeProperty(display_, Root(), property, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(malformed), 4);
  XSync(display_, False);
  EXPECT_EQ(record.GiveBackLeftovers(), 0U);
  EXPECT_FALSE(x11::HasProperty(display_, Root(), property));
  EXPECT_EQ(x11::ReadKeyboardLayout(display_, 0, 0).first_levels.at(rebound), others.keysyms);
  x11::WriteKeycodeBindings(display_, {{rebound, {}}});
}

}  // namespace
}  // namespace plumwick::x11_test
