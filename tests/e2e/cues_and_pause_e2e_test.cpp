// What the sink plays and when the program waits, on the real program: start-up plays the start-up
// clip, "Select List" the click clip and "Sign Out" the sign-out clip, each told apart from the
// others in the recording of the sink's monitor; and Add contact's Pause keeps its two Enters at
// least a second apart while a click made during it runs at once, inside the wait.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "tests/e2e/actions_fixture.h"
#include "tests/e2e/harness/clip_fingerprint.h"
#include "tests/e2e/harness/sound_recorder.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {
namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

// The longest clip (start-up) lasts 2.1 s, the others under one.
constexpr auto kStartClipLength = milliseconds(2300);
constexpr auto kShortClipLength = milliseconds(1100);
constexpr double kHeard = 0.02;  // RMS over 50 ms: far above the silent sink

std::map<std::string, Sound> Clips() {
  const std::filesystem::path dir = PLUMWICK_CUES_DIR;
  return {{"start", ReadWave(dir / "start.wav")},
          {"click", ReadWave(dir / "click.wav")},
          {"sign_out", ReadWave(dir / "sign_out.wav")}};
}

class CuesE2eTest : public ActionsFixture {
 protected:
  // What the sink played from the recorder's start until `length` after it first heard a sound.
  ClipMatch Heard(SoundRecorder& recorder, Clock::duration length) {
    EXPECT_TRUE(recorder.WaitForSound(kHeard, kEffectTimeout)) << "nothing was heard";
    std::this_thread::sleep_for(length);
    return MatchClip(recorder.Stop(), clips_);
  }

  const std::map<std::string, Sound> clips_ = Clips();
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

class PauseE2eTest : public ActionsFixture {
 protected:
  void SetUp() override {
    ActionsFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_EQ(TypeIntoField(place::kText2, kAddress), kAddress);
  }

  static constexpr const char* kAddress = "pause.check@example.net";
  static constexpr const char* kAdded = "^sandbox: contact added: pause\\.check@example\\.net$";
};

TEST_F(PauseE2eTest, AddContactsTwoEntersAreAtLeastASecondApart) {
  ClickControl(place::kAddContact);
  ASSERT_TRUE(program_->WaitForLine(kAdded, kEffectTimeout)) << program_->Describe();
  const Clock::time_point first_enter = *program_->LineTime(kAdded);
  // The confirmation shows from the first Enter until the second dismisses it: the last time it
  // is seen is before the second Enter.
  Clock::time_point last_seen = first_enter;
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (User().FindWindows("Contact added").empty()) return true;
        last_seen = Clock::now();
        return false;
      },
      kEffectTimeout, milliseconds(10)))
      << "the second Enter never dismissed the confirmation\n"
      << program_->Describe();
  const auto apart = duration_cast<milliseconds>(last_seen - first_enter);
  std::printf("the second Enter came at least %lld ms after the first\n",
              static_cast<long long>(apart.count()));
  // The effects are seen when the program has handled each key, which on a loaded machine takes
  // up to a few hundred milliseconds more for one key than for the other: the bound leaves room
  // for that and still tells a real wait from none. The exact interval is the unit tests' (on a
  // fake clock).
  EXPECT_GE(apart, milliseconds(750)) << program_->Describe();
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
