// Keys go only to the messaging client: with another program's window holding the focus when the
// program is about to type, nothing is typed anywhere and the failure shows in a message box; and
// a click elsewhere in the middle of a long message's keys leaves no key there.
//
// How the focus is taken away, reliably: Change NickName opens the client's options dialog, which
// takes the focus once as it opens, and then pauses half a second before its first keystroke. A
// foreign window of our own (plumwick_e2e_focus_thief) watches the active window and, the moment
// it is the options dialog, has the window manager activate the foreign window instead, within
// milliseconds. Nothing asks for the dialog's activation again, so the guard finds the foreign
// window focused from its first look to the end of its three seconds. Send Msg. would not do: it
// types at once, and the guard could catch the conversation in the instant between its
// activation and the theft. The foreign window logs every key it receives.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/focus_thief.h"
#include "tests/e2e/harness/key_event_watch.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

class FocusGuardE2eTest : public SandboxFixture {};

std::string Hex(WindowId window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

TEST_F(FocusGuardE2eTest, FocusTakenByAnotherWindowTypesNothingAndShowsTheFailure) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText3, "Mallory"), "Mallory");

  const auto thief = Session().Start({PLUMWICK_FOCUS_THIEF, "Options"});
  const auto ready = thief->WaitForLine("^ready [0-9]+$", kWindowTimeout);
  ASSERT_TRUE(ready) << thief->Describe();
  const WindowId foreign = std::stoul(ready->substr(ready->find(' ') + 1));
  // The foreign window's log works: a key pressed there shows up in it.
  User().Activate(foreign);
  User().Key("x");
  ASSERT_TRUE(thief->WaitForLine("^key x$", kEffectTimeout)) << thief->Describe();

  ClickControl(place::kChangeNickName);
  ASSERT_TRUE(WaitForOutLine("sandbox: options dialog opened")) << program_->Describe();
  ASSERT_TRUE(thief->WaitForLine("^took the focus from ", kEffectTimeout)) << thief->Describe();
  EXPECT_TRUE(WaitUntil([&] { return User().ActiveWindow() == foreign; }, kEffectTimeout))
      << "the foreign window did not get the focus back from the options dialog";

  // The report names the window that had the focus and its program, as a person sees them.
  EXPECT_TRUE(WaitForErrorText("Error 4102 (0x00001006): ")) << program_->Describe();
  const std::string err = program_->ErrText();
  EXPECT_NE(
      err.find("the keyboard focus is on the window 'Foreign window' (plumwick_e2e_focus_thief)"),
      std::string::npos)
      << err;
  EXPECT_EQ(err.find(Hex(foreign)), std::string::npos) << "no bare window id: " << err;

  // Nothing typed: not into the foreign window, and nothing reached the client.
  EXPECT_EQ(KeysLogged(*thief), std::vector<std::string>{"key x"}) << thief->Describe();
  EXPECT_EQ(program_->OutLines(), std::vector<std::string>{"sandbox: options dialog opened"});

  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box for the focus failure\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  EXPECT_TRUE(program_->Running()) << program_->Describe();
}

TEST_F(FocusGuardE2eTest, AClickElsewhereUnderALongMessagesKeysLeavesNoKeyThere) {
  // Another program's window takes the focus at delays spread over the typing, then the
  // program's own scratch pad is clicked: not one key lands in either. The message goes out whole,
  // or the job stops before its Enter and says where the focus went; from the program's own
  // window the conversation is brought back and the message goes out whole.
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const std::string contact = "alice@example.com";
  ASSERT_EQ(TypeIntoField(place::kText2, contact), contact);
  std::string message;
  while (message.size() < 3000) message += "Grüße Ωmega ✓ 100% spaces and words ";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message);
  const std::string sent = "sandbox: message sent to " + contact + ": " + message;
  const std::string conversation = contact + " - Conversation";
  const KeyEventWatch program_keys(Session().Display(), window_);
  int stopped = 0;
  for (int run = 0; run < 30; ++run) {
    const bool foreign = run < 20;
    const auto delay = std::chrono::milliseconds(foreign ? run * 15 : (run - 20) * 30);
    SCOPED_TRACE((foreign ? "another program's window after " : "the scratch pad after ") +
                 std::to_string(delay.count()) + " ms");
    std::unique_ptr<ChildProcess> thief;
    if (foreign) {
      thief =
          Session().Start({PLUMWICK_FOCUS_THIEF, conversation, std::to_string(1 + delay.count())});
      ASSERT_TRUE(thief->WaitForLine("^ready [0-9]+$", kWindowTimeout)) << thief->Describe();
    }
    const std::size_t lines = program_->OutLines().size();
    const std::size_t errors = program_->ErrText().size();
    ClickControl(place::kSendMessage);
    if (!foreign) {
      // As a person clicks the pad once the conversation shows.
      ASSERT_TRUE(WaitUntil(
          [&] {
            const auto found = User().FindWindows(conversation);
            return !found.empty() && User().ActiveWindow() == found.front();
          },
          kEffectTimeout));
      std::this_thread::sleep_for(delay);
      ClickControl(place::kText1);
    }
    ASSERT_TRUE(WaitUntil(
        [&] {
          return program_->OutLines().size() >= lines + 2 || program_->ErrText().size() > errors;
        },
        kEffectTimeout))
        << program_->Describe();
    if (thief) {
      EXPECT_EQ(KeysLogged(*thief), std::vector<std::string>{}) << thief->Describe();
      thief->Stop();  // before the conversation is activated again below
    }
    if (program_->ErrText().size() > errors) {
      ++stopped;
      const std::string error = program_->ErrText().substr(errors);
      EXPECT_TRUE(foreign) << error;
      EXPECT_NE(error.find("'Foreign window' (plumwick_e2e_focus_thief)"), std::string::npos)
          << error;
      EXPECT_EQ(program_->OutLines().size(), lines + 1) << "nothing sent: " << program_->Describe();
      const auto box = WaitForMessageBox();
      ASSERT_TRUE(box) << program_->Describe();
      ASSERT_TRUE(DismissWithReturn(*box));
      // The part typed stays in the conversation's entry, as a person would leave it: cleared.
      // Waited for: a search that meets a window as it vanishes (the box, the thief's) finds none.
      const auto found = User().WaitForWindow(conversation, kEffectTimeout);
      ASSERT_TRUE(found) << program_->Describe();
      User().Activate(*found);
      User().Key("ctrl+a");
      User().Key("BackSpace");
    } else {
      EXPECT_EQ(program_->OutLines().back(), sent);
    }
  }
  // The Return that closes a message box lets go of the key over the window under it.
  for (const std::string& event : program_keys.Events()) {
    EXPECT_FALSE(event.starts_with("press ")) << "a key pressed in the program's window";
  }
  // Most thefts come while the keys go out: the test must have caught the job under way.
  EXPECT_GE(stopped, 5);
}

}  // namespace
}  // namespace plumwick::e2e
