// The harness against plain X and sound tools, so that its desktop, its input events, its
// screenshots, the clipboard and the recorder are known to work before a Plumwick test relies on
// them. xev is the probe: it prints every event it gets with window-relative positions.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <regex>
#include <thread>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/desktop_test.h"
#include "tests/e2e/harness/desktop_user.h"
#include "tests/e2e/harness/key_event_watch.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/screenshot.h"
#include "tests/e2e/harness/sound_recorder.h"
#include "tests/e2e/harness/typed_keys.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Regex metacharacters on purpose: the name must be found as written, not as a pattern.
constexpr const char* kProbeName = "Probe (1) [x]";

class HarnessDesktopTest : public DesktopTest {
 protected:
  void StartProbe() {
    probe_ = Session().Start(
        {"xev", "-name", kProbeName, "-event", "button", "-event", "keyboard", "-event", "mouse"});
    const auto window = User().WaitForWindow(kProbeName, seconds(10));
    ASSERT_TRUE(window) << probe_->Describe();
    window_ = *window;
  }

  // The position xev reports for the next event of `type`.
  std::optional<Point> NextEvent(const std::string& type) {
    if (!probe_->WaitForLine("^" + type + " event", seconds(5))) return std::nullopt;
    const auto line = probe_->WaitForLine(R"(\(-?\d+,-?\d+\), root:)", seconds(5));
    std::smatch match;
    if (!line || !std::regex_search(*line, match, std::regex(R"(\((-?\d+),(-?\d+)\), root)"))) {
      return std::nullopt;
    }
    return Point{std::stoi(match[1]), std::stoi(match[2])};
  }

  std::unique_ptr<ChildProcess> probe_;
  WindowId window_ = 0;
};

TEST_F(HarnessDesktopTest, EnvironmentLeadsToThePrivateServicesOnly) {
  const Environment& env = Session().Env();
  EXPECT_EQ(env.at("DISPLAY"), Session().Display());
  EXPECT_EQ(env.count("QT_QPA_PLATFORM"), 0u);
  struct stat runtime {};
  ASSERT_EQ(stat(env.at("XDG_RUNTIME_DIR").c_str(), &runtime), 0);
  EXPECT_EQ(runtime.st_mode & 0777, 0700u);
  EXPECT_EQ(env.at("PULSE_SERVER"), "unix:" + env.at("XDG_RUNTIME_DIR") + "/pulse/native");

  const std::string info = RunChecked({"pactl", "info"}, env);
  EXPECT_NE(info.find("Default Sink: nullsink\n"), std::string::npos) << info;
  const std::string check = RunChecked({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, env);
  const std::string wm_window = check.substr(check.find('#') + 2);
  const std::string wm_name =
      RunChecked({"xprop", "-id", wm_window.substr(0, wm_window.find('\n')), "_NET_WM_NAME"}, env);
  EXPECT_NE(wm_name.find("\"Openbox\""), std::string::npos) << wm_name;
}

TEST_F(HarnessDesktopTest, FindsWindowsByTheirExactNameOnly) {
  ASSERT_NO_FATAL_FAILURE(StartProbe());
  EXPECT_EQ(User().WindowName(window_), kProbeName);
  EXPECT_TRUE(User().FindWindows("probe (1) [x]").empty());
  EXPECT_TRUE(User().FindWindows("Probe (1)").empty());
  EXPECT_TRUE(User().FindWindows("Probe .1. .x.").empty());
  probe_->Stop();
  EXPECT_TRUE(User().WaitForNoWindow(kProbeName, seconds(5)));
}

TEST_F(HarnessDesktopTest, PointerEventsArriveAtClientAreaPositions) {
  ASSERT_NO_FATAL_FAILURE(StartProbe());
  const Rect area = User().ClientArea(window_);

  User().Click(window_, {20, 25});
  EXPECT_EQ(NextEvent("ButtonPress"), (Point{20, 25}));
  EXPECT_EQ(NextEvent("ButtonRelease"), (Point{20, 25}));
  EXPECT_EQ(User().MouseLocation(), (Point{area.x + 20, area.y + 25}));

  User().DoubleClick(window_, {5, 60});
  EXPECT_EQ(NextEvent("ButtonPress"), (Point{5, 60}));
  EXPECT_EQ(NextEvent("ButtonPress"), (Point{5, 60}));

  User().Drag(window_, {30, 30}, {60, 80});
  EXPECT_EQ(NextEvent("ButtonPress"), (Point{30, 30}));
  EXPECT_EQ(NextEvent("MotionNotify"), (Point{33, 35}));
  EXPECT_EQ(NextEvent("ButtonRelease"), (Point{60, 80}));

  EXPECT_THROW(User().Click(window_, {area.width, 5}), std::invalid_argument);
}

// The harness's own key listeners hear them too: the one on the window and the display's count.
TEST_F(HarnessDesktopTest, KeysArriveInTheFocusedWindow) {
  ASSERT_NO_FATAL_FAILURE(StartProbe());
  User().Activate(window_);
  EXPECT_EQ(User().ActiveWindow(), window_);
  const KeyEventWatch watch(Session().Display(), window_);
  const TypedKeys typed(Session().Display());
  User().Type("aB");
  User().Key("Return");
  EXPECT_TRUE(probe_->WaitForLine(R"(keysym 0x61, a\))", seconds(5)));
  EXPECT_TRUE(probe_->WaitForLine(R"(keysym 0x42, B\))", seconds(5)));
  EXPECT_TRUE(probe_->WaitForLine(R"(keysym 0xff0d, Return\))", seconds(5)));
  EXPECT_TRUE(WaitUntil([&] { return typed.Releases("Return") == 1; }, seconds(5)));
  EXPECT_EQ(typed.Releases("a"), 1);
  std::vector<std::string> presses;
  for (const std::string& event : watch.Events()) {
    if (event.starts_with("press ")) presses.push_back(event);
  }
  EXPECT_EQ(presses,
            (std::vector<std::string>{"press a", "press Shift_L", "press b", "press Return"}));
}

TEST_F(HarnessDesktopTest, ScreenshotShowsTheWindowWhereItsClientAreaIs) {
  ASSERT_NO_FATAL_FAILURE(StartProbe());
  const Rect area = User().ClientArea(window_);
  const Image screen = TakeScreenshot(Session(), Session().ScratchDir() / "probe.png");
  ASSERT_EQ(screen.Width(), DesktopSession::kScreenWidth);
  ASSERT_EQ(screen.Height(), DesktopSession::kScreenHeight);
  // xev's window is white; the frame around it and the bare root window are not.
  const Image client = screen.Crop(area);
  constexpr Rgb kWhite{255, 255, 255};
  EXPECT_EQ(client.At({0, 0}), kWhite);
  EXPECT_EQ(client.At({area.width - 1, area.height - 1}), kWhite);
  EXPECT_NE(screen.At({area.x - 1, area.y - 1}), kWhite);
  EXPECT_NE(screen.At({area.x + area.width, area.y + area.height}), kWhite);
}

TEST_F(HarnessDesktopTest, ClipboardTextRoundTripsExactly) {
  const std::string text = "zwölf € (12)\n\tsecond line ";
  {
    ClipboardOwner owner(Session(), text);
    EXPECT_EQ(ReadClipboard(Session()), text);
  }
  EXPECT_EQ(ReadClipboard(Session()), std::nullopt);
}

TEST_F(HarnessDesktopTest, RecorderHearsWhatIsPlayedAndSilenceOtherwise) {
  SoundRecorder quiet(Session());
  std::this_thread::sleep_for(milliseconds(300));
  const Recording silence = quiet.Stop();
  EXPECT_GT(silence.Seconds(), 0.1);
  EXPECT_LT(silence.LoudestRms(milliseconds(50)), 1e-4);

  const auto tone = Session().ScratchDir() / "tone.wav";
  // Stereo like the sink, so that no channel mixing changes the level on the way.
  RunChecked({"sox", "-n", "-r", "44100", "-c", "2", tone.string(), "synth", "0.4", "sine", "440",
              "vol", "0.5"},
             Session().Env());
  SoundRecorder recorder(Session());
  // Not waited for: paplay lingers about two seconds after the end, for the null sink to drain.
  const auto player = Session().Start({"paplay", tone.string()});
  EXPECT_TRUE(recorder.WaitForSound(0.3, seconds(5))) << player->Describe();
  const Recording sound = recorder.Stop();
  // A sine of amplitude 0.5 has an RMS of 0.5 / sqrt(2).
  EXPECT_NEAR(sound.LoudestRms(milliseconds(50)), 0.354, 0.02);
}

}  // namespace
}  // namespace plumwick::e2e
