// The skinned window on a desktop with a window manager, as a person sees and handles it: it opens
// centred without a frame, a press of the left or the right button on its title moves it with the
// pointer until the release, a press anywhere else does not, and the screen shows its picture,
// its red frame and lines and the background colour in its bottom row.
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/screenshot.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/window_places.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kWidth = 267, kHeight = 484;
constexpr auto kMoveTimeout = seconds(5);
// How long a window that should stay put is watched after the gesture.
constexpr auto kSettle = milliseconds(500);

class WindowE2eTest : public SandboxFixture {
 protected:
  Rect Area() const { return User().ClientArea(window_); }

  // Waits for the window's client area to arrive at `origin`; returns where it is at the end.
  Point WaitForOrigin(Point origin) const {
    Rect area;
    WaitUntil([&] { return (area = Area()).x == origin.x && area.y == origin.y; }, kMoveTimeout);
    return {area.x, area.y};
  }

  // Presses, holds still for a moment, then moves in steps and releases: the way a person
  // usually drags. The harness's Drag moves on at once after the press.
  void HeldDrag(Point from, Point by, int button) const {
    User().Activate(window_);
    const Rect area = Area();
    const Point start{area.x + from.x, area.y + from.y};
    std::vector<std::string> args = {"xdotool",
                                     "mousemove",
                                     "--sync",
                                     std::to_string(start.x),
                                     std::to_string(start.y),
                                     "mousedown",
                                     std::to_string(button),
                                     "sleep",
                                     "0.3"};
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
      args.insert(args.end(),
                  {"mousemove", "--sync", std::to_string(start.x + by.x * step / kSteps),
                   std::to_string(start.y + by.y * step / kSteps), "sleep", "0.02"});
    }
    args.insert(args.end(), {"mouseup", std::to_string(button)});
    RunChecked(args, Session().Env());
  }
};

TEST_F(WindowE2eTest, OpensCentredAtItsSizeWithoutAFrame) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  EXPECT_EQ(Area(), (Rect{(DesktopSession::kScreenWidth - kWidth) / 2,
                          (DesktopSession::kScreenHeight - kHeight) / 2, kWidth, kHeight}));
  // The window manager adds no border and no title bar around it.
  const std::string extents =
      RunChecked({"xprop", "-id", std::to_string(window_), "_NET_FRAME_EXTENTS"}, Session().Env());
  EXPECT_NE(extents.find("= 0, 0, 0, 0"), std::string::npos) << extents;
}

struct DragCase {
  const char* what;
  int button;
  Point from;  // in the client area
  Point by;    // how far the pointer goes while the button is held
  bool moves;
  bool held_still = false;  // the pointer rests a moment after the press before it moves
};

void PrintTo(const DragCase& drag, std::ostream* out) {
  *out << drag.what;
}

class WindowDragE2eTest : public WindowE2eTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(WindowDragE2eTest, MovesWithThePointerOnlyFromTheTitle) {
  const DragCase& drag = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const Rect before = Area();
  if (drag.held_still) {
    HeldDrag(drag.from, drag.by, drag.button);
  } else {
    User().Drag(window_, drag.from, {drag.from.x + drag.by.x, drag.from.y + drag.by.y},
                drag.button);
  }

  if (!drag.moves) {
    std::this_thread::sleep_for(kSettle);
    EXPECT_EQ(Area(), before);
    EXPECT_TRUE(program_->Running()) << program_->Describe();
    return;
  }
  const Point target{before.x + drag.by.x, before.y + drag.by.y};
  ASSERT_EQ(WaitForOrigin(target), target) << program_->Describe();
  // The release ended the move: the pointer goes on alone...
  const Point pointer = User().MouseLocation();
  User().MoveMouse({pointer.x + 60, pointer.y + 40});
  std::this_thread::sleep_for(kSettle);
  const Rect after = Area();
  EXPECT_EQ((Point{after.x, after.y}), target) << "the window still follows the pointer";
  // ...and the window takes clicks where it now is.
  User().Click(window_, place::kExit.Center());
  const auto status = program_->WaitForExit(kMoveTimeout);
  EXPECT_TRUE(status && status->ExitedWith(0)) << "EXIT PROGRAM! after the move\n"
                                               << program_->Describe();
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, WindowDragE2eTest,
    ::testing::Values(DragCase{"LeftButtonOnTheTitle", 1, {100, 20}, {120, 80}, true},
                      DragCase{
                          "LeftButtonHeldStillOnTheTitle", 1, {200, 30}, {-110, 90}, true, true},
                      DragCase{"RightButtonOnTheTitle", 3, {30, 10}, {-150, 60}, true},
                      DragCase{"RightButtonHeldStillOnTheTitle", 3, {0, 0}, {70, 110}, true, true},
                      DragCase{"MiddleButtonOnTheTitleEdge", 2, {264, 40}, {90, -70}, true},
                      DragCase{"LeftButtonRightOfTheTitle", 1, {265, 20}, {100, 60}, false},
                      DragCase{"RightButtonRightOfTheTitle", 3, {266, 20}, {100, 60}, false},
                      DragCase{"LeftButtonBelowTheTitle", 1, {130, 44}, {100, 60}, false},
                      DragCase{"RightButtonOnTheBody", 3, {5, 200}, {100, 60}, false}),
    [](const auto& test) { return std::string(test.param.what); });

TEST_F(WindowE2eTest, ScreenShowsPictureFrameLinesAndBackground) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const Rect area = Area();
  const Image screen = TakeScreenshot(Session(), Session().ScratchDir() / "window.png");
  struct Expected {
    Point at;
    Rgb colour;
    const char* what;
  };
  constexpr Rgb kRed{0xFF, 0, 0}, kBlack{0, 0, 0}, kGrey{0x80, 0x80, 0x80};
  const Expected points[] = {
      {{10, 258}, kRed, "the frame's left border"},
      {{253, 310}, kRed, "the frame's right border"},
      {{130, 258}, kRed, "Line3"},
      {{130, 70}, kRed, "Line4"},
      {{130, 356}, kRed, "Line9"},
      {{5, 200}, kBlack, "the body left of the frame"},
      {{130, 44}, kBlack, "the body under the banner"},
      {{130, 476}, kBlack, "the body below the last button"},
      {{0, 483}, kGrey, "the bottom row"},
      {{266, 483}, kGrey, "the bottom row"},
  };
  for (const Expected& point : points) {
    EXPECT_EQ(screen.At({area.x + point.at.x, area.y + point.at.y}), point.colour)
        << point.what << " at " << point.at;
  }
  // The banner's shading runs from one red to a darker one.
  for (const Point at : {Point{10, 8}, Point{10, 34}, Point{250, 20}}) {
    const Rgb banner = screen.At({area.x + at.x, area.y + at.y});
    EXPECT_TRUE(banner.r > 150 && banner.g < 60 && banner.b < 60)
        << "banner at " << at << ": " << banner;
  }
}

}  // namespace
}  // namespace plumwick::e2e
