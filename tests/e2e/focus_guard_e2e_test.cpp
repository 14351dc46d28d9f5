// Keys go only to the messaging client: with another program's window holding the focus when the
// program is about to type, nothing is typed anywhere and the failure shows in a message box.
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

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/actions_fixture.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {
namespace {

class FocusGuardE2eTest : public ActionsFixture {};

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
  std::vector<std::string> keys;
  for (const std::string& line : thief->OutLines()) {
    if (line.rfind("key ", 0) == 0) keys.push_back(line);
  }
  EXPECT_EQ(keys, std::vector<std::string>{"key x"}) << thief->Describe();
  EXPECT_EQ(program_->OutLines(), std::vector<std::string>{"sandbox: options dialog opened"});

  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box for the focus failure\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  EXPECT_TRUE(program_->Running()) << program_->Describe();
}

}  // namespace
}  // namespace plumwick::e2e
