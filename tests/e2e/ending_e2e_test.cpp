// How plumwick-sandbox ends and starts where a user does not look: a logout's SIGTERM (and Ctrl+C's
// SIGINT, a closed terminal's SIGHUP) gives the X server back every key typing bound, as the
// desktop's close does, also in the middle of a job; a click on EXIT PROGRAM! or a SIGTERM while
// a very long message is being typed ends the program at once; keys a killed one left bound are
// given back by the next one's job; and a machine without sound gets one line on standard error
// saying that cues are silent, nothing more.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness/keymap.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

class EndingE2eTest : public SandboxFixture {};

TEST_F(EndingE2eTest, TerminationSignalsGiveBackEveryKeyTypingBound) {
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE("signal " + std::to_string(signal_number));
    const int before = EmptyKeycodes(Session().Display());
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_EQ(TypeIntoField(place::kText2, "alice@example.com"), "alice@example.com");
    // Characters the layout lacks are typed through spare keycodes of the X server's keymap.
    const std::string message = "жé€ ok";
    ASSERT_EQ(PasteIntoField(place::kText4, message), message);
    ClickControl(place::kSendMessage);
    ASSERT_TRUE(WaitForOutLine("sandbox: message sent to alice@example.com: " + message))
        << program_->Describe();
    ASSERT_LT(EmptyKeycodes(Session().Display()), before);

    program_->Signal(signal_number);
    const auto status = program_->WaitForExit(kEffectTimeout);
    ASSERT_TRUE(status) << program_->Describe();
    EXPECT_TRUE(status->ExitedWith(0)) << status->Describe();
    EXPECT_EQ(EmptyKeycodes(Session().Display()), before);
  }
}

TEST_F(EndingE2eTest, KeysAProgramKilledMidJobLeftBoundAreGivenBackByTheNextOnesJob) {
  const int before = EmptyKeycodes(Session().Display());
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, "alice@example.com"), "alice@example.com");
  // Long enough to be typing still when it is killed, on keys bound for it.
  std::string message;
  for (int i = 0; i < 20; ++i) message += "Ωmega ✓ ß жé€ ";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message);
  ClickControl(place::kSendMessage);
  ASSERT_TRUE(
      WaitUntil([&] { return EmptyKeycodes(Session().Display()) < before; }, kEffectTimeout));
  program_->Signal(SIGKILL);
  ASSERT_TRUE(program_->WaitForExit(kEffectTimeout)) << program_->Describe();
  ASSERT_LT(EmptyKeycodes(Session().Display()), before) << "nothing gave them back";

  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, "alice@example.com"), "alice@example.com");
  ASSERT_EQ(TypeIntoField(place::kText4, "plain"), "plain");
  ClickControl(place::kSendMessage);
  ASSERT_TRUE(WaitForOutLine("sandbox: message sent to alice@example.com: plain"))
      << program_->Describe();
  EXPECT_EQ(EmptyKeycodes(Session().Display()), before);
}

TEST_F(EndingE2eTest, SigtermInsideAJobsWaitEndsAtOnceAndTypesNoMore) {
  const int before = EmptyKeycodes(Session().Display());
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const std::string name = "Ωmega Ünder";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name);
  ClickControl(place::kChangeNickName);
  // The job waits half a second before it types the name.
  ASSERT_TRUE(WaitForOutLine("sandbox: options dialog opened")) << program_->Describe();
  program_->Signal(SIGTERM);
  const auto status = program_->WaitForExit(kEffectTimeout);
  ASSERT_TRUE(status) << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << status->Describe();
  EXPECT_EQ(program_->OutLines(), std::vector<std::string>{"sandbox: options dialog opened"});
  EXPECT_EQ(EmptyKeycodes(Session().Display()), before);
}

TEST_F(EndingE2eTest, ExitProgramOrSigtermWhileAHundredThousandCharactersAreTypedEndsAtOnce) {
  // Typing all of it takes far longer than the bound below: an end that waits for the job fails.
  const std::string message(100'000, 'x');
  for (const bool by_signal : {true, false}) {
    SCOPED_TRACE(by_signal ? "SIGTERM" : "EXIT PROGRAM!");
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_EQ(TypeIntoField(place::kText2, "alice@example.com"), "alice@example.com");
    ASSERT_EQ(PasteIntoField(place::kText4, message), message);
    ClickControl(place::kSendMessage);
    ASSERT_TRUE(WaitForOutLine("sandbox: conversation opened with alice@example.com"))
        << program_->Describe();
    std::this_thread::sleep_for(std::chrono::seconds(1));  // well into the message's keys

    const auto asked = Clock::now();
    if (by_signal) {
      program_->Signal(SIGTERM);
    } else {
      // Where the button shows, as a hand clicks it: activating the window first would wait on
      // a window the job brings the conversation back from.
      User().MoveMouse(User().OnScreen(window_, place::kExit.Center()));
      User().ClickHere();
    }
    const auto status = program_->WaitForExit(std::chrono::seconds(3));
    ASSERT_TRUE(status) << "still running 3 s after the end was asked for\n"
                        << program_->Describe();
    std::cout << "ended "
              << std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count()
              << " ms after it was asked to\n";
    EXPECT_TRUE(status->ExitedWith(0)) << status->Describe();
    EXPECT_EQ(program_->OutLines(),
              std::vector<std::string>{"sandbox: conversation opened with alice@example.com"});
  }
}

TEST_F(EndingE2eTest, WithoutASoundDeviceOneLineSaysCuesAreSilentAndNothingElse) {
  // No sound server to be found: none named, and a runtime directory without one.
  const PrivateDir runtime;
  ASSERT_NO_FATAL_FAILURE(
      StartProgram({{"PULSE_SERVER", std::nullopt}, {"XDG_RUNTIME_DIR", runtime.Path().string()}}));
  // Every cue's first use: the pad's buttons play the click cue.
  ClickControl(place::kTime);
  ClickControl(place::kDate);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(program_->ErrText(), "Sound cues are silent: no audio output device is available.\n");
  ClickControl(place::kExit);
  const auto status = program_->WaitForExit(kEffectTimeout);
  ASSERT_TRUE(status) << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << status->Describe();
  EXPECT_EQ(program_->ErrText(), "Sound cues are silent: no audio output device is available.\n");
}

}  // namespace
}  // namespace plumwick::e2e
