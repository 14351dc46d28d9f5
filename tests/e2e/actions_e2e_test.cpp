// The contact and account actions of plumwick-sandbox, done as a person does them: the text boxes
// filled and the buttons clicked on a real desktop, the program's keystrokes typed for real into
// the sandbox client's windows, and every effect read from the lines the client prints; and the
// title, which moves the window without a sound.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness/keymap.h"
#include "tests/e2e/harness/sound_recorder.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using Lines = std::vector<std::string>;

constexpr const char* kAlice = "alice@example.com";
constexpr const char* kCarol = "carol@example.com";

class ActionsE2eTest : public SandboxFixture {};

TEST_F(ActionsE2eTest, SendMsgTypesTheMessageIntoTheContactsConversation) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  // Letters outside ASCII, an uppercase one among them, the characters the first design's key
  // notation treated as modifiers, and literal braces in the notation's own spelling.
  const std::string message = "héllo Ωmega 100% :-) {{}x{}}";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message);

  ClickControl(place::kSendMessage);
  const std::string sent = "sandbox: message sent to alice@example.com: héllo Ωmega 100% :-) {x}";
  ASSERT_TRUE(WaitForOutLine(sent)) << program_->Describe();
  EXPECT_TRUE(User().WaitForWindow("alice@example.com - Conversation", kEffectTimeout));
  // The second Enter comes right after the first, into an entry that is empty by then: time for
  // anything it sent to show.
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_EQ(program_->OutLines(),
            (Lines{"sandbox: conversation opened with alice@example.com", sent}))
      << program_->Describe();
}

TEST_F(ActionsE2eTest, ExitAfterTypingLeavesNoKeyBoundInTheXServer) {
  // Characters the layout lacks are typed through spare keycodes; the exit button ends the
  // process at once, and the keymap they live in is the X server's.
  const int before = EmptyKeycodes(Session().Display());
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  const std::string message = "жé€ ok";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message);
  ClickControl(place::kSendMessage);
  ASSERT_TRUE(WaitForOutLine("sandbox: message sent to alice@example.com: " + message))
      << program_->Describe();
  EXPECT_LT(EmptyKeycodes(Session().Display()), before);

  ClickControl(place::kExit);
  const auto status = program_->WaitForExit(kEffectTimeout);
  ASSERT_TRUE(status) << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << program_->Describe();
  EXPECT_EQ(EmptyKeycodes(Session().Display()), before);
}

TEST_F(ActionsE2eTest, AddContactAddsTheAddressAndDismissesTheConfirmation) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const std::string address = "zoe.new@example.net";
  ASSERT_EQ(TypeIntoField(place::kText2, address), address);

  ClickControl(place::kAddContact);
  ASSERT_TRUE(WaitForOutLine("sandbox: contact added: " + address)) << program_->Describe();
  // The confirmation shows until the second Enter, a second after the first.
  EXPECT_TRUE(User().WaitForNoWindow("Contact added", kEffectTimeout));
  EXPECT_TRUE(User().FindWindows("Add a contact").empty());
  EXPECT_EQ(program_->OutLines(), (Lines{"sandbox: add-contact dialog opened for " + address,
                                         "sandbox: contact added: " + address}));
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

TEST_F(ActionsE2eTest, ChangeNickNameChangesTheDisplayNameAndComesBackToFront) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  // Pasted: letters outside ASCII, uppercase ones too, typed by the program into the dialog.
  const std::string name = "Zoë Ångström Ω";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name);

  ClickControl(place::kChangeNickName);
  ASSERT_TRUE(WaitForOutLine("sandbox: display name changed to " + name)) << program_->Describe();
  // The second Enter dismisses the client's notice, then the program's window comes back.
  EXPECT_TRUE(User().WaitForNoWindow("Display name changed", kEffectTimeout))
      << "the notice still shows: the second Enter did not reach it";
  EXPECT_TRUE(User().FindWindows("Options").empty());
  std::optional<WindowId> active;
  EXPECT_TRUE(
      WaitUntil([&] { return (active = User().ActiveWindow()) == window_; }, kEffectTimeout))
      << "active window " << active.value_or(0) << ", the program's is " << window_;
  EXPECT_EQ(program_->OutLines(),
            (Lines{"sandbox: options dialog opened", "sandbox: display name changed to " + name}));
}

TEST_F(ActionsE2eTest, DeleteContactRemovesTheContactWithoutTyping) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kCarol), kCarol);

  ClickControl(place::kDeleteContact);
  ASSERT_TRUE(WaitForOutLine("sandbox: contact removed: carol@example.com"))
      << program_->Describe();
  // Keys would go only to a window of the client, after it took the focus: none opened, and the
  // focus stayed in the program's window.
  EXPECT_TRUE(User().FindWindows("carol@example.com - Conversation").empty());
  EXPECT_EQ(User().ActiveWindow(), window_);

  // Gone from the client: a second removal fails, in a message box.
  ClickControl(place::kDeleteContact);
  EXPECT_TRUE(
      WaitForErrorText("Error 8195 (0x00002003): \"carol@example.com\" is not in your "
                       "contact list"))
      << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  EXPECT_EQ(program_->OutLines(), (Lines{"sandbox: contact removed: carol@example.com"}));
  EXPECT_EQ(program_->ErrText().find("Error 4102"), std::string::npos) << program_->ErrText();
}

TEST_F(ActionsE2eTest, SignOutSignsOutAndTheNextActionFailsWithoutEndingTheProgram) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ClickControl(place::kSignOut);
  ASSERT_TRUE(WaitForOutLine("sandbox: signed out")) << program_->Describe();

  ClickControl(place::kSelectList);
  EXPECT_TRUE(WaitForErrorText("Error 8194 (0x00002002)")) << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box after Select List while signed out\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));

  // A failure in a handler stops only that handler: the window still works.
  ASSERT_TRUE(program_->Running()) << program_->Describe();
  ClickControl(place::kExit);
  const auto status = program_->WaitForExit(std::chrono::seconds(10));
  ASSERT_TRUE(status) << "still running after EXIT PROGRAM!\n" << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << program_->Describe();
  EXPECT_EQ(program_->OutLines(), (Lines{"sandbox: signed out"}));
}

TEST_F(ActionsE2eTest, ADragByTheTitleMovesTheWindowWithoutACue) {
  constexpr double kHeard = 0.02;  // RMS over 50 ms: far above the silent sink
  SoundRecorder start(Session());
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  // The start-up clip lasts 2.1 s: the drag comes once it is over.
  ASSERT_TRUE(start.WaitForSound(kHeard, kEffectTimeout)) << "the start-up cue was not heard";
  std::this_thread::sleep_for(milliseconds(2300));

  SoundRecorder drag(Session());
  const Rect before = User().ClientArea(window_);
  User().Drag(window_, {100, 20}, {160, 70});
  const Point target{before.x + 60, before.y + 50};
  Rect after{};
  EXPECT_TRUE(WaitUntil(
      [&] { return (after = User().ClientArea(window_)).x == target.x && after.y == target.y; },
      kEffectTimeout))
      << "the window is at " << after.x << "," << after.y;
  // A cue starts as the press is handled; a click's is heard well within this.
  std::this_thread::sleep_for(milliseconds(1000));
  EXPECT_LT(drag.Stop().LoudestRms(milliseconds(50)), kHeard) << "a cue played on the drag";

  // The recording hears this window's cues: a click is heard.
  SoundRecorder click(Session());
  ClickControl(place::kSelectList);
  EXPECT_TRUE(click.WaitForSound(kHeard, kEffectTimeout)) << "no cue heard on Select List";
}

}  // namespace
}  // namespace plumwick::e2e
