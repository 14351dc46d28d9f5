// What the sink plays and when the program waits, on the real program: start-up plays the start-up
// clip, "Select List" the click clip and "Sign Out" the sign-out clip, each told apart from the
// others in the recording of the sink's monitor; every one of many clicks is heard to its end,
// also after the sound server has restarted, and while there is none the actions go on with one
// line saying so; and Add contact's Pause keeps its two Enters a second apart while a click made
// during it runs at once, inside the wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/e2e/harness/clip_fingerprint.h"
#include "tests/e2e/harness/sound_recorder.h"
#include "tests/e2e/harness/typed_keys.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

// The longest clip (start-up) lasts 2.1 s, the others under one.
constexpr auto kStartClipLength = milliseconds(2300);
constexpr auto kShortClipLength = milliseconds(1100);
constexpr double kHeard = 0.02;  // RMS over 50 ms: far above the silent sink

constexpr const char* kSilentLine = "Sound cues are silent: no audio output device is available.";

// How long a sound is heard: from the first to the last stretch of 10 ms that is louder than a
// hundredth of its loudest one (the null sink's silence is none at all). A clip cut short loses its
// tail; a recording's silence around the clip does not count.
double HeardSeconds(const Sound& sound) {
  const std::size_t window = static_cast<std::size_t>(sound.rate) / 100;
  std::vector<double> rms;
  for (std::size_t at = 0; at + window <= sound.samples.size(); at += window) {
    double sum = 0;
    for (std::size_t i = at; i < at + window; ++i) sum += sound.samples[i] * sound.samples[i];
    rms.push_back(std::sqrt(sum / static_cast<double>(window)));
  }
  if (rms.empty()) return 0;
  const double threshold = *std::max_element(rms.begin(), rms.end()) / 100;
  const auto loud = [threshold](double value) { return value > threshold; };
  const auto first = std::find_if(rms.begin(), rms.end(), loud);
  const auto last = std::find_if(rms.rbegin(), rms.rend(), loud);
  return static_cast<double>(rms.rend() - last - (first - rms.begin())) / 100;
}

std::map<std::string, Sound> Clips() {
  const std::filesystem::path dir = PLUMWICK_CUES_DIR;
  return {{"start", ReadWave(dir / "start.wav")},
          {"click", ReadWave(dir / "click.wav")},
          {"sign_out", ReadWave(dir / "sign_out.wav")}};
}

class CuesE2eTest : public SandboxFixture {
 protected:
  // What the sink played from the recorder's start until `length` after it first heard a sound.
  ClipMatch Heard(SoundRecorder& recorder, Clock::duration length) {
    EXPECT_TRUE(recorder.WaitForSound(kHeard, kEffectTimeout)) << "nothing was heard";
    std::this_thread::sleep_for(length);
    return MatchClip(recorder.Stop(), clips_);
  }

  // Clicks a list button and waits for its cue to be heard; true when it was the click clip,
  // heard to its end.
  bool ClickIsHeard(const std::string& what) {
    SoundRecorder recorder(Session());
    ClickAListButton();
    if (!recorder.WaitForSound(kHeard, kEffectTimeout)) {
      ADD_FAILURE() << what << ": nothing was heard";
      return false;
    }
    std::this_thread::sleep_for(kShortClipLength);
    const Recording recording = recorder.Stop();
    const ClipMatch match = MatchClip(recording, clips_);
    const double heard = HeardSeconds(FromRecording(recording));
    const double length = HeardSeconds(clips_.at("click"));
    EXPECT_EQ(match.best, "click") << what << ": " << match.Describe();
    // The clip's last tenth of a second went missing when its stream was closed as soon as Qt
    // had handed over the last bytes.
    EXPECT_GT(heard, length - 0.04)
        << what << ": heard " << heard << " s of a clip of " << length << " s";
    return match.best == "click" && heard > length - 0.04;
  }

  // Select List and Clear List in turn: each plays the click cue and enables the other. The
  // sandbox client's window shows after the program's and may cover them: the program's window
  // comes to the front first.
  void ClickAListButton() {
    User().Activate(window_);
    ClickControl(select_next_ ? place::kSelectList : place::kClearList);
    select_next_ = !select_next_;
  }

  // Waits until the start-up cue has been heard to its end, so that it is not taken for a click's,
  // and the sandbox client's window has shown.
  void StartProgramAndItsCue() {
    SoundRecorder start(Session());
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    Heard(start, kStartClipLength);
    ASSERT_TRUE(User().WaitForWindow("Sandbox messaging client", kWindowTimeout));
  }

  const std::map<std::string, Sound> clips_ = Clips();
  bool select_next_ = true;
};

TEST_F(CuesE2eTest, TheClipsAreToldApart) {
  // The test's own yardstick: every clip is most like itself, by a clear margin.
  for (const auto& [name, clip] : clips_) {
    for (const auto& [other, other_clip] : clips_) {
      const double likeness = Likeness(Fingerprint(clip), Fingerprint(other_clip));
      if (other == name) {
        EXPECT_NEAR(likeness, 1.0, 1e-9);
      } else {
        EXPECT_LT(likeness, 0.8) << name << " and " << other << " are too alike to be told apart";
      }
    }
  }
}

TEST_F(CuesE2eTest, StartUpSelectListAndSignOutEachPlayTheirOwnClip) {
  SoundRecorder start(Session());
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const ClipMatch at_start = Heard(start, kStartClipLength);
  EXPECT_EQ(at_start.best, "start") << at_start.Describe() << "\n" << program_->Describe();

  SoundRecorder select(Session());
  ClickControl(place::kSelectList);
  const ClipMatch at_select = Heard(select, kShortClipLength);
  EXPECT_EQ(at_select.best, "click") << at_select.Describe();

  SoundRecorder sign_out(Session());
  ClickControl(place::kSignOut);
  ASSERT_TRUE(WaitForOutLine("sandbox: signed out")) << program_->Describe();
  const ClipMatch at_sign_out = Heard(sign_out, kShortClipLength);
  EXPECT_EQ(at_sign_out.best, "sign_out") << at_sign_out.Describe();
}

TEST_F(CuesE2eTest, EveryOneOfManyClicksIsHeardToItsEnd) {
  // One cue on a stream that was opened again for every click fell silent from the fifth click
  // on, and every cue lost its last tenth of a second.
  ASSERT_NO_FATAL_FAILURE(StartProgramAndItsCue());
  for (int click = 1; click <= 12; ++click) {
    ClickIsHeard("click " + std::to_string(click));
  }
  EXPECT_EQ(program_->ErrText(), "") << program_->Describe();
}

// The sound server of the session, ended and started again, as a user or an update restarts it.
// Its own suite: the session's sound server is this test's afterwards.
class CuesAfterRestartE2eTest : public CuesE2eTest {};

TEST_F(CuesAfterRestartE2eTest, ClicksAreHeardAgainAndWithoutAServerActionsGoOn) {
  ASSERT_NO_FATAL_FAILURE(StartProgramAndItsCue());
  ASSERT_TRUE(ClickIsHeard("before the restart"));

  // Away for longer than a client library's one attempt to connect again (Qt Multimedia's comes
  // after 3 s): the first click after the restart is heard all the same.
  Session().StopSound();
  ClickAListButton();
  std::this_thread::sleep_for(std::chrono::seconds(4));
  Session().StartSound();
  for (int click = 1; click <= 4; ++click) {
    ClickIsHeard("click " + std::to_string(click) + " after the restart");
  }

  // No server at all: the cues are silent, one line says so, and the actions go on.
  Session().StopSound();
  const std::string before = program_->ErrText();
  ClickAListButton();
  ClickAListButton();
  User().Activate(window_);
  ClickControl(place::kSignOut);
  ASSERT_TRUE(WaitForOutLine("sandbox: signed out")) << program_->Describe();
  // Written before the action's line, but read on its own.
  EXPECT_TRUE(
      WaitUntil([&] { return program_->ErrText().size() > before.size(); }, kEffectTimeout));
  EXPECT_EQ(program_->ErrText().substr(before.size()), std::string(kSilentLine) + "\n")
      << program_->Describe();
  std::istringstream lines(program_->ErrText());
  for (std::string line; std::getline(lines, line);) EXPECT_EQ(line, kSilentLine);
}

class PauseE2eTest : public SandboxFixture {
 protected:
  void SetUp() override {
    SandboxFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_EQ(TypeIntoField(place::kText2, kAddress), kAddress);
  }

  static constexpr const char* kAddress = "pause.check@example.net";
  static constexpr const char* kAdded = "^sandbox: contact added: pause\\.check@example\\.net$";
};

TEST_F(PauseE2eTest, AddContactsTwoEntersAreASecondApart) {
  const TypedKeys presses(Session().Display());
  ClickControl(place::kAddContact);
  ASSERT_TRUE(program_->WaitForLine(kAdded, kEffectTimeout)) << program_->Describe();
  ASSERT_TRUE(WaitUntil([&] { return presses.PressTimes("Return").size() >= 2; }, kEffectTimeout))
      << "the second Enter never came\n"
      << program_->Describe();
  const std::vector<unsigned long> times = presses.PressTimes("Return");
  ASSERT_EQ(times.size(), 2U);
  const auto apart = static_cast<long>(times[1] - times[0]);
  std::printf("the second Enter came %ld ms after the first\n", apart);
  // The X server's own times of the two keys. The program waits for the server to have taken in
  // each key before it goes on, so the keys are at least the Pause apart, less a tick or two of
  // the server's coarse clock; a shorter Pause (0.8 or 0.95 s) falls below the bound.
  EXPECT_GE(apart, 980) << program_->Describe();
}

TEST_F(PauseE2eTest, AClickDuringAddContactsWaitRunsAtOnceInsideIt) {
  // Sign Out types nothing, so it is not queued behind the typing job: it runs inside the wait.
  ClickControl(place::kAddContact);
  User().MoveMouse(User().OnScreen(window_, place::kSignOut.Center()));
  ASSERT_TRUE(program_->WaitForLine(kAdded, kEffectTimeout)) << program_->Describe();
  const Clock::time_point first_enter = *program_->LineTime(kAdded);
  const Clock::time_point clicked = Clock::now();
  User().ClickHere();
  ASSERT_TRUE(program_->WaitForLine("^sandbox: signed out$", kEffectTimeout))
      << program_->Describe();
  const Clock::time_point signed_out = *program_->LineTime("^sandbox: signed out$");
  const auto after_enter = duration_cast<milliseconds>(signed_out - first_enter);
  const auto after_click = duration_cast<milliseconds>(signed_out - clicked);
  std::printf("signed out %lld ms after the click, %lld ms after the first Enter\n",
              static_cast<long long>(after_click.count()),
              static_cast<long long>(after_enter.count()));
  // After the wait the second Enter would come first, a second after the first one at least.
  EXPECT_LT(after_enter, milliseconds(1000))
      << "the click was handled after the wait, not inside it\n"
      << program_->Describe();
}

}  // namespace
}  // namespace plumwick::e2e
