// One keyboard job at a time, and keys only for the messaging client, as a new user meets them on
// plumwick-sandbox: fast clicks on the typing buttons, a click on the program while a job waits,
// the user's own Return in the client's notice or still held down when the job must press it, a
// line the user left in the conversation, and texts that are not valid key notation. A listener of
// the test's own records every key event that reaches the program's window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness/key_event_watch.h"
#include "tests/e2e/harness/keyboard_grabber.h"
#include "tests/e2e/harness/keymap.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/window_keys.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

constexpr const char* kAlice = "alice@example.com";
// Long enough for every job of a burst of clicks, each waiting its turn.
constexpr auto kBurstTimeout = std::chrono::seconds(20);

class KeyboardJobsE2eTest : public SandboxFixture {
 protected:
  // Clicks the control `count` times, `gap` apart, in one xdotool run, as a quick hand does.
  void ClickFast(const Rect& control, int count, milliseconds gap) const {
    User().Activate(window_);
    const Rect area = User().ClientArea(window_);
    const Point at = control.Center();
    User().MoveMouse({area.x + at.x, area.y + at.y});
    RunChecked({"xdotool", "click", "--repeat", std::to_string(count), "--delay",
                std::to_string(gap.count()), "1"},
               Session().Env());
  }

  // Listens for key events on the program's window from now on: after the test's own typing into
  // the text boxes, which must reach them.
  void WatchProgramsKeys() { watch_.emplace(Session().Display(), window_); }
  // The keys pressed in the program's window. A release may follow a press elsewhere: the user's
  // Return that closes a window of the client's lets go of the key over the window under it.
  std::vector<std::string> KeysOnProgram() const {
    std::vector<std::string> presses;
    for (const std::string& event : watch_->Events()) {
      if (event.starts_with("press ")) presses.push_back(event);
    }
    return presses;
  }

  // Waits until standard output has `count` lines in all.
  bool WaitForLineCount(std::size_t count) const {
    return WaitUntil([&] { return program_->OutLines().size() >= count; }, kBurstTimeout);
  }

  // Output lines from `first` on.
  Lines LinesFrom(std::size_t first) const {
    const Lines lines = program_->OutLines();
    return first < lines.size()
               ? Lines(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end())
               : Lines{};
  }

  bool NoErrorShown() const { return program_->ErrText().find("Error ") == std::string::npos; }

  std::optional<KeyEventWatch> watch_;
};

Lines Repeated(const Lines& lines, int times) {
  Lines all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), lines.begin(), lines.end());
  return all;
}

TEST_F(KeyboardJobsE2eTest, FastClicksOnSendMsgSendEveryMessageWholeSeparateAndInOrder) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  struct Burst {
    std::string message;
    int clicks;
    milliseconds gap;
  };
  for (const Burst& burst :
       {Burst{"dbl80", 2, milliseconds(80)}, Burst{"rapid", 5, milliseconds(60)},
        // Spaces would press the focused Send Msg. button, were they to reach the program.
        Burst{"s p a c e s", 12, milliseconds(50)}}) {
    SCOPED_TRACE(burst.message);
    watch_.reset();
    ASSERT_EQ(TypeIntoField(place::kText4, burst.message), burst.message);
    const std::size_t before = program_->OutLines().size();
    WatchProgramsKeys();
    ClickFast(place::kSendMessage, burst.clicks, burst.gap);
    const Lines one = {std::string("sandbox: conversation opened with ") + kAlice,
                       std::string("sandbox: message sent to ") + kAlice + ": " + burst.message};
    ASSERT_TRUE(WaitForLineCount(before + one.size() * burst.clicks)) << program_->Describe();
    // Time for a merged or extra message to show.
    std::this_thread::sleep_for(milliseconds(700));
    Lines sent;
    std::size_t opened = 0;
    for (const std::string& line : LinesFrom(before)) {
      if (line == one[0]) ++opened;
      if (line.starts_with("sandbox: message sent")) sent.push_back(line);
    }
    EXPECT_EQ(sent, Lines(static_cast<std::size_t>(burst.clicks), one[1])) << program_->Describe();
    EXPECT_EQ(opened, static_cast<std::size_t>(burst.clicks)) << program_->Describe();
    EXPECT_THAT(KeysOnProgram(), IsEmpty());
    EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
  }
}

// `count` distinct characters from `first` on, `step` apart, as UTF-8.
std::string Distinct(char32_t first, int count, char32_t step = 1) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const char32_t c = first + step * static_cast<char32_t>(i);
    if (c < 0x800) {
      text += static_cast<char>(0xc0 | (c >> 6));
    } else {
      text += static_cast<char>(0xe0 | (c >> 12));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    }
    text += static_cast<char>(0x80 | (c & 0x3f));
  }
  return text;
}

TEST_F(KeyboardJobsE2eTest, TextsTheLayoutLacksArriveExactlyHoweverManyDistinctCharactersTheyHold) {
  // Far more distinct characters than the layout has free keys: a key is bound anew only once
  // the conversation has read the keys typed under its old binding. The keymap is the user's
  // again after each job.
  const std::string display = Session().Display();
  const std::string users_keymap = KeymapText(display);
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  const std::string messages[] = {
      "Ωmega ✓ 你好",
      // 200 distinct Chinese characters, then the Russian alphabet and Japanese, each twice.
      Distinct(0x4e00, 200, 3) + " " + Distinct(0x4e00, 200, 3),
      Distinct(0x0410, 64) + " " + Distinct(0x0410, 64),
      "今日は綺麗な天気ですね。" + Distinct(0x3041, 80) + " 今日",
  };
  for (const std::string& message : messages) {
    SCOPED_TRACE(message);
    ASSERT_EQ(PasteIntoField(place::kText4, message), message);
    ClickControl(place::kSendMessage);
    ASSERT_TRUE(WaitForOutLine(std::string("sandbox: message sent to ") + kAlice + ": " + message))
        << program_->Describe();
    // The program is idle again once its window is back on top: the keymap is the user's.
    EXPECT_TRUE(WaitUntil([&] { return KeymapText(display) == users_keymap; }, kEffectTimeout));
    EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
  }
}

TEST_F(KeyboardJobsE2eTest, AStandInLockerHoldingTheKeyboardGetsNoKeyTheMessageWaitsOrFails) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  std::string message;
  for (int i = 0; i < 8; ++i) message += "a long message, part " + std::to_string(i) + " - ";
  ASSERT_EQ(TypeIntoField(place::kText4, message), message);
  const std::string sent = std::string("sandbox: message sent to ") + kAlice + ": " + message;
  const std::string cause = "another program holds the keyboard";
  // Let go within the job's three seconds, the message goes out whole after; held longer, the
  // job fails naming the cause. Either way the locker gets no key.
  for (const milliseconds held : {milliseconds(2000), milliseconds(4500)}) {
    SCOPED_TRACE(held.count());
    const bool lets_go_in_time = held < std::chrono::seconds(3);
    const std::size_t before = program_->OutLines().size();
    std::optional<KeyboardGrabber> locker(std::in_place, Session().Display());
    ClickControl(place::kSendMessage);
    std::this_thread::sleep_for(held);
    EXPECT_EQ(locker->KeyPresses(), 0);
    locker.reset();
    if (lets_go_in_time) {
      EXPECT_TRUE(WaitForOutLine(sent)) << program_->Describe();
      EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
      // The job's second Enter follows once the client has sent the message: the next locker
      // must not take it.
      std::this_thread::sleep_for(milliseconds(500));
    } else {
      EXPECT_TRUE(WaitForErrorText(cause)) << program_->Describe();
      const auto box = WaitForMessageBox();
      ASSERT_TRUE(box) << program_->Describe();
      EXPECT_TRUE(DismissWithReturn(*box));
      for (const std::string& line : LinesFrom(before)) EXPECT_FALSE(line.starts_with(sent));
    }
  }
}

TEST_F(KeyboardJobsE2eTest, TwoProgramsOnOneDisplayClickedAMomentApartBothFinishTheirJobs) {
  // Side by side: the first changes the name (its dialog waits half a second before the name is
  // typed), the second sends a message, clicked 30 ms later.
  const Rect fields[] = {place::kText3, place::kText4};
  const std::string texts[] = {"First Program", "the second program's whole message"};
  const Rect buttons[] = {place::kChangeNickName, place::kSendMessage};
  const std::string done[] = {"sandbox: display name changed to First Program",
                              std::string("sandbox: message sent to ") + kAlice + ": " + texts[1]};
  std::unique_ptr<ChildProcess> programs[2];
  WindowId windows[2] = {};
  for (int i = 0; i < 2; ++i) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    if (i == 1 && window_ == windows[0]) {
      const auto other = User().WaitForOtherWindow(kCaption, windows[0], kWindowTimeout);
      ASSERT_TRUE(other) << program_->Describe();
      window_ = *other;
    }
    RunChecked(
        {"xdotool", "windowmove", std::to_string(window_), std::to_string(10 + 560 * i), "10"},
        Session().Env());
    ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
    ASSERT_EQ(TypeIntoField(fields[i], texts[i]), texts[i]);
    programs[i] = std::move(program_);
    windows[i] = window_;
  }
  const Point first = User().OnScreen(windows[0], buttons[0].Center());
  const Point second = User().OnScreen(windows[1], buttons[1].Center());
  RunChecked({"xdotool", "mousemove", std::to_string(first.x), std::to_string(first.y), "click",
              "1", "sleep", "0.03", "mousemove", std::to_string(second.x), std::to_string(second.y),
              "click", "1"},
             Session().Env());
  // The second job starts once the first has ended: the first dialog's keys can go nowhere else.
  program_ = std::move(programs[1]);
  EXPECT_TRUE(WaitForOutLine(std::string("sandbox: conversation opened with ") + kAlice))
      << program_->Describe();
  programs[1] = std::move(program_);
  const Lines first_lines = programs[0]->OutLines();
  EXPECT_NE(std::find(first_lines.begin(), first_lines.end(), done[0]), first_lines.end())
      << programs[0]->Describe();
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(texts[i]);
    program_ = std::move(programs[i]);
    EXPECT_TRUE(WaitForOutLine(done[i])) << program_->Describe();
    EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
    programs[i] = std::move(program_);
  }
}

TEST_F(KeyboardJobsE2eTest, FastClicksOnChangeNickNameChangeTheNameOnceEachAndTypeNothingHere) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  struct Burst {
    std::string name;
    int clicks;
  };
  // "Dbl X1": a Space typed into the program's window would press its focused button again.
  for (const Burst& burst : {Burst{"Dbl1", 2}, Burst{"Dbl X1", 2}, Burst{"Five", 5}}) {
    SCOPED_TRACE(burst.name);
    watch_.reset();
    ASSERT_EQ(TypeIntoField(place::kText3, burst.name), burst.name);
    const std::size_t before = program_->OutLines().size();
    WatchProgramsKeys();
    ClickFast(place::kChangeNickName, burst.clicks, milliseconds(80));
    const Lines one = {"sandbox: options dialog opened",
                       "sandbox: display name changed to " + burst.name};
    ASSERT_TRUE(WaitForLineCount(before + one.size() * burst.clicks)) << program_->Describe();
    // The last job's Enters and the program's window coming back, and time for a late error.
    EXPECT_TRUE(WaitUntil([&] { return User().ActiveWindow() == window_; }, kEffectTimeout));
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_EQ(LinesFrom(before), Repeated(one, burst.clicks)) << program_->Describe();
    EXPECT_THAT(KeysOnProgram(), IsEmpty());
    EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
    EXPECT_TRUE(User().FindWindows("Options").empty());
  }
}

TEST_F(KeyboardJobsE2eTest, FastClicksOnAddContactAddOnceThenEachLaterJobFailsInTurn) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const std::string address = "zoe.new@example.net";
  ASSERT_EQ(TypeIntoField(place::kText2, address), address);
  WatchProgramsKeys();
  ClickFast(place::kAddContact, 5, milliseconds(60));
  // The first job adds the contact; each later one finds it in the list already, and its failure
  // shows before the next job starts.
  ASSERT_TRUE(WaitForOutLine("sandbox: contact added: " + address)) << program_->Describe();
  for (int refused = 1; refused <= 4; ++refused) {
    SCOPED_TRACE("refusal " + std::to_string(refused));
    const auto box = WaitForMessageBox();
    ASSERT_TRUE(box) << program_->Describe();
    EXPECT_TRUE(WaitUntil(
        [&] {
          const std::string err = program_->ErrText();
          std::size_t count = 0;
          for (std::size_t at = 0;
               (at = err.find("is already in your contact list", at)) != std::string::npos; ++at) {
            ++count;
          }
          return count == static_cast<std::size_t>(refused);
        },
        kEffectTimeout))
        << program_->ErrText();
    EXPECT_TRUE(DismissWithReturn(*box));
  }
  std::this_thread::sleep_for(milliseconds(500));
  const std::string opened = "sandbox: add-contact dialog opened for " + address;
  Lines expected = {opened, "sandbox: contact added: " + address};
  for (int i = 0; i < 4; ++i) expected.push_back(opened);
  EXPECT_EQ(program_->OutLines(), expected);
  EXPECT_EQ(program_->ErrText().find("Error 4102"), std::string::npos) << program_->ErrText();
  EXPECT_THAT(KeysOnProgram(), IsEmpty());
}

TEST_F(KeyboardJobsE2eTest, AClickOnTheProgramWhileChangeNickNameWaitsTypesTheNameIntoTheDialog) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText3, "Clicked Away"), "Clicked Away");
  WatchProgramsKeys();
  ClickControl(place::kChangeNickName);
  ASSERT_TRUE(WaitForOutLine("sandbox: options dialog opened")) << program_->Describe();
  // Inside the half second before the name is typed, the scratch pad: a text box that would take
  // the keys. The dialog comes back for them.
  ClickControl(place::kText1);
  ASSERT_TRUE(WaitForOutLine("sandbox: display name changed to Clicked Away"))
      << program_->Describe();
  EXPECT_TRUE(WaitUntil([&] { return User().ActiveWindow() == window_; }, kEffectTimeout));
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_TRUE(User().FindWindows("Options").empty());
  EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
  EXPECT_THAT(KeysOnProgram(), IsEmpty());
}

TEST_F(KeyboardJobsE2eTest, ReturnInContactAddedDuringTheJobGivesNoFalseFailure) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const std::string address = "quick.user@example.net";
  ASSERT_EQ(TypeIntoField(place::kText2, address), address);
  WatchProgramsKeys();
  ClickControl(place::kAddContact);
  ASSERT_TRUE(WaitForOutLine("sandbox: contact added: " + address)) << program_->Describe();
  // The user closes the notice before the job's second Enter, a second after its first.
  const auto notice = User().WaitForWindow("Contact added", kEffectTimeout);
  ASSERT_TRUE(notice) << program_->Describe();
  User().Activate(*notice);
  User().Key("Return");
  // The job's Enter finds the notice back and dismisses it; a false failure would show within
  // four seconds.
  std::this_thread::sleep_for(std::chrono::seconds(5));
  EXPECT_TRUE(NoErrorShown()) << program_->ErrText();
  EXPECT_TRUE(User().FindWindows("Contact added").empty());
  EXPECT_EQ(program_->OutLines(), (Lines{"sandbox: add-contact dialog opened for " + address,
                                         "sandbox: contact added: " + address}));
  EXPECT_THAT(KeysOnProgram(), IsEmpty());
}

// How the user presses the Return that closes a message box, the key the job must press next.
enum class ReturnPress {
  kQuick,               // as a quick hand (xdotool's key): up a few milliseconds later
  kLetGoWithinTheWait,  // held until the job is at its Enter, and a while longer
  kHeldPastTheWait,     // held longer than the job waits for keys to come up
};

struct HeldReturnCase {
  std::string name;
  ReturnPress press;
};

void PrintTo(const HeldReturnCase& held_case, std::ostream* out) {
  *out << held_case.name;
}

class HeldReturnE2eTest : public KeyboardJobsE2eTest,
                          public ::testing::WithParamInterface<HeldReturnCase> {};

TEST_P(HeldReturnE2eTest, TheJobsEnterArrivesAfterTheUsersReturnIsUpOrTheJobFails) {
  // A second Sign Out inside Add contact's one-second wait fails, and its box opens inside that
  // wait; the Return that closes it is still down when the job's second Enter is due, and the X
  // server drops a press of a key that is down.
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const std::string address = "race@example.com";
  ASSERT_EQ(TypeIntoField(place::kText2, address), address);
  WatchProgramsKeys();
  ClickControl(place::kAddContact);
  ASSERT_TRUE(WaitForOutLine("sandbox: contact added: " + address)) << program_->Describe();
  const auto added = std::chrono::steady_clock::now();
  const auto notice = User().WaitForWindow("Contact added", kEffectTimeout);
  ASSERT_TRUE(notice) << program_->Describe();
  ClickFast(place::kSignOut, 2, milliseconds(80));
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << program_->Describe();
  ASSERT_TRUE(WaitForErrorText("You are signed out")) << program_->ErrText();
  // The job's wait is over by now: it goes on the moment the box closes.
  std::this_thread::sleep_until(added + milliseconds(1200));
  User().Activate(*box);
  std::optional<HeldKey> user_return;
  if (GetParam().press == ReturnPress::kQuick) {
    User().Key("Return");
  } else {
    user_return.emplace(Session().Env(), "Return");
  }
  ASSERT_TRUE(WaitUntil([&] { return User().FindWindows(kCaption).size() == 1; }, kEffectTimeout))
      << "the box stayed open";

  if (GetParam().press == ReturnPress::kHeldPastTheWait) {
    EXPECT_TRUE(WaitForErrorText(
        "Error 4100 (0x00001004): The key Return was held down for 3 seconds while the job had "
        "to press it, so the rest of the job was not typed (a key pressed while it is held down "
        "does not arrive)"))
        << program_->ErrText();
    user_return->Release();
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_FALSE(User().FindWindows("Contact added").empty()) << "an Enter reached the notice";
  } else {
    if (user_return) {
      // The job has brought its window back for the Enter, and had time to type it.
      EXPECT_TRUE(WaitUntil([&] { return User().ActiveWindow() == *notice; }, kEffectTimeout));
      std::this_thread::sleep_for(milliseconds(500));
      EXPECT_FALSE(User().FindWindows("Contact added").empty()) << "Enter typed while Return held";
      user_return->Release();
    }
    EXPECT_TRUE(User().WaitForNoWindow("Contact added", kEffectTimeout))
        << "the job's Enter was lost\n"
        << program_->ErrText();
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_EQ(program_->ErrText().find("Error ", program_->ErrText().find("Error ") + 1),
              std::string::npos)
        << "an error besides Sign Out's: " << program_->ErrText();
  }
  EXPECT_EQ(program_->OutLines(),
            (Lines{"sandbox: add-contact dialog opened for " + address,
                   "sandbox: contact added: " + address, "sandbox: signed out"}));
  EXPECT_THAT(KeysOnProgram(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeldReturnE2eTest,
    ::testing::Values(HeldReturnCase{"Quick", ReturnPress::kQuick},
                      HeldReturnCase{"LetGoWithinTheWait", ReturnPress::kLetGoWithinTheWait},
                      HeldReturnCase{"HeldPastTheWait", ReturnPress::kHeldPastTheWait}),
    [](const auto& test) { return test.param.name; });

// A line the user typed into the conversation and did not send would go out joined to the next
// message: Send Msg. types nothing then, says why, and leaves the line where it was.
TEST_F(KeyboardJobsE2eTest, SendMsgTypesNothingIntoAConversationHoldingTextLeftThere) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  ASSERT_EQ(TypeIntoField(place::kText4, "first"), "first");
  ClickControl(place::kSendMessage);
  const std::string first = std::string("sandbox: message sent to ") + kAlice + ": first";
  ASSERT_TRUE(WaitForOutLine(first)) << program_->Describe();
  const auto conversation =
      User().WaitForWindow(std::string(kAlice) + " - Conversation", kEffectTimeout);
  ASSERT_TRUE(conversation);
  std::this_thread::sleep_for(milliseconds(500));  // the job's second Enter
  User().Activate(*conversation);
  User().Type("left here");

  WatchProgramsKeys();
  ClickControl(place::kSendMessage);
  EXPECT_TRUE(WaitForErrorText("holds text that was typed there and not sent (\"left here\")"))
      << program_->Describe();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  // Still there: a Return in the conversation sends it.
  User().Activate(*conversation);
  User().Key("Return");
  const std::string left = std::string("sandbox: message sent to ") + kAlice + ": left here";
  ASSERT_TRUE(WaitForOutLine(left)) << program_->Describe();
  const std::string opened = std::string("sandbox: conversation opened with ") + kAlice;
  EXPECT_EQ(program_->OutLines(), (Lines{opened, first, opened, left})) << program_->Describe();
  EXPECT_THAT(KeysOnProgram(), IsEmpty());
}

TEST_F(KeyboardJobsE2eTest, InvalidKeyNotationOpensNothingAndTheErrorSpeaksAsAUserCounts) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  struct Case {
    Rect box;
    Rect button;
    std::string text;
    std::string error;
    std::string window;  // a window the job would have opened
  };
  const Case cases[] = {
      {place::kText4, place::kSendMessage, "abc{FOO}def",
       "The text of the message box cannot be typed: at the 4th character, {FOO} is not a key "
       "name (see the README for the names). Nothing was done.",
       std::string(kAlice) + " - Conversation"},
      {place::kText3, place::kChangeNickName, "Bad{X",
       "The text of the nickname box cannot be typed: at the 4th character, this { is never "
       "closed ({X): write a literal { as {{}. Nothing was done.",
       "Options"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(TypeIntoField(c.box, c.text), c.text);
    ClickControl(c.button);
    EXPECT_TRUE(WaitForErrorText("Error 4101 (0x00001005): " + c.error)) << program_->ErrText();
    const auto box = WaitForMessageBox();
    ASSERT_TRUE(box) << program_->Describe();
    EXPECT_TRUE(User().FindWindows(c.window).empty()) << c.window << " opened";
    EXPECT_TRUE(DismissWithReturn(*box));
  }
  EXPECT_THAT(program_->OutLines(), IsEmpty()) << "nothing asked of the client";
}

}  // namespace
}  // namespace plumwick::e2e
