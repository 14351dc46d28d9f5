// The contact and account actions against doubles: each handler's exact calls, keystroke strings
// and waits, the focus guard, handlers nested in a wait, and the failure rule at every call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/doubles.h"

namespace plumwick::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// The calls since the mark, without the focus guard's looks (tested on their own below).
std::vector<std::string> ActionCalls(const CallLog& log, std::size_t mark) {
  std::vector<std::string> calls;
  for (auto it = log.calls.begin() + static_cast<std::ptrdiff_t>(mark); it != log.calls.end();
       ++it) {
    if (*it != "focus.Focused()" && *it != "job.TakesKeys()") calls.push_back(*it);
  }
  return calls;
}

struct ActionRig : StartedRig {
  ActionRig() : StartedRig("héllo Ωmega 100% :-) {{}x{}}", "New Name") {}
  std::vector<std::string> Calls() const { return ActionCalls(log, mark); }
};

TEST(ContactActions, EachHandlerMakesExactlyItsCallsKeystrokesAndWaits) {
  struct Case {
    const char* name;
    FakeButton Rig::*button;
    std::vector<std::string> calls;
    bool asks_before_removing = false;  // the client's
  };
  const std::vector<Case> cases = {
      {"Send Msg.",
       &Rig::send_message,
       {"OLE1.Play()", "Text2.Text()", "Text4.Text()", "client.InstantMessage(friend@example.com)",
        "keys.Type(héllo Ωmega 100% :-) {{}x{}})", "pump.Sleep(100 ms)", "keys.Type({ENTER})",
        "keys.Type({ENTER})", "conversation.Release()",
        // The keys borrowed for "é" and "Ω" go back once the client had time to read them.
        "pump.Sleep(300 ms)"}},
      {"Add contact",
       &Rig::add_contact,
       {"OLE1.Play()", "Text2.Text()", "client.AddContact(0, friend@example.com)",
        "keys.Type({ENTER})", "pump.Sleep(1000 ms)", "keys.Type({ENTER})", "dialog.Release()"}},
      {"Change NickName",
       &Rig::change_nickname,
       {"OLE1.Play()", "Text3.Text()", "client.OptionsPages(0, 0)", "pump.Sleep(500 ms)",
        "keys.Type(New Name)", "pump.Sleep(500 ms)", "keys.Type({ENTER})", "keys.Type({ENTER})",
        "window.ShowAndActivate()", "options.Release()"}},
      {"Delete Contact",
       &Rig::delete_contact,
       {"OLE1.Play()", "Text2.Text()", "client.MyContacts()", "client.MyServiceId()",
        "client.GetContact(friend@example.com, service)", "contact.SigninName(friend@example.com)",
        "contacts.Remove(friend@example.com)"}},
      // Its answer is the job's own key, behind the focus guard; the program adds none.
      {"Delete Contact, asked first",
       &Rig::delete_contact,
       {"OLE1.Play()", "Text2.Text()", "client.MyContacts()", "client.MyServiceId()",
        "client.GetContact(friend@example.com, service)", "contact.SigninName(friend@example.com)",
        "contacts.Remove(friend@example.com)", "keys.Type({ALT+R})", "removal.Release()"},
       true},
      {"Sign Out", &Rig::sign_out, {"OLE2.Play()", "client.Signout()"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ActionRig rig;
    rig.messenger.asks_before_removing = c.asks_before_removing;
    const std::string address = rig.address.text, nickname = rig.nickname.text,
                      message = rig.message.text;
    const std::vector<std::string> list = {"a@x"};
    rig.contact_list.entries = list;
    (rig.*c.button).Click();
    EXPECT_THAT(rig.Calls(), ElementsAreArray(c.calls));
    EXPECT_THAT(rig.errors.shown, IsEmpty());
    EXPECT_EQ(rig.messenger.live_objects, 0);
    // No control changes after any of these actions.
    EXPECT_EQ(rig.address.text, address);
    EXPECT_EQ(rig.nickname.text, nickname);
    EXPECT_EQ(rig.message.text, message);
    EXPECT_EQ(rig.contact_list.entries, list);
    EXPECT_FALSE(rig.keys.borrowed);
    // Every action but Sign Out is a keyboard job, which ends its turn whether it typed or not.
    EXPECT_EQ(rig.keys.jobs_ended, c.button == &Rig::sign_out ? 0 : 1);
  }
}

// A client that sends the message's text itself gets it, and no key: the guard still waits for
// its conversation to take the focus, with an empty step, and the Enters stay untyped once the
// client confirmed the message (they would send a draft left in the conversation).
TEST(ContactActions, AClientThatSendsTheTextItselfGetsItAndNoKeyIsTyped) {
  ActionRig rig;
  rig.messenger.sends_text = true;
  rig.send_message.Click();
  EXPECT_THAT(rig.Calls(),
              ElementsAre("OLE1.Play()", "Text2.Text()", "Text4.Text()",
                          "client.InstantMessage(friend@example.com)",
                          "conversation.SendsText(héllo Ωmega 100% :-) {{}x{}})", "keys.Type()",
                          "pump.Sleep(100 ms)", "conversation.Release()"));
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  ASSERT_EQ(rig.messenger.typed_into.size(), 1u);
  EXPECT_EQ(rig.messenger.keys_typed, std::vector<std::string>{""});
}

// A client whose window the program's Enters would not save types its own steps after the
// nickname, each through the guard, and then takes no more keys: the Enters stay untyped.
TEST(ContactActions, AJobsOwnStepsAfterTheProgramsKeysAreTypedAndEndIt) {
  ActionRig rig;
  rig.messenger.closing_steps = 2;
  rig.change_nickname.Click();
  EXPECT_THAT(rig.Calls(), ElementsAre("OLE1.Play()", "Text3.Text()", "client.OptionsPages(0, 0)",
                                       "pump.Sleep(500 ms)", "keys.Type(New Name)",
                                       "keys.Type({ESC})", "keys.Type({ESC})", "pump.Sleep(500 ms)",
                                       "window.ShowAndActivate()", "options.Release()"));
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  EXPECT_EQ(rig.messenger.typed_into.size(), 3u);
}

TEST(ContactActions, DeleteContactTypesNothingAndEmptyTextsPassUnchecked) {
  ActionRig rig;
  rig.address.text = "";
  rig.message.text = "";
  rig.delete_contact.Click();
  rig.send_message.Click();
  std::vector<std::string> typed;
  for (const std::string& call : rig.Calls()) {
    if (call.starts_with("keys.") || call.starts_with("client.GetContact") ||
        call.starts_with("client.InstantMessage")) {
      typed.push_back(call);
    }
  }
  EXPECT_THAT(typed, ElementsAre("client.GetContact(, service)", "client.InstantMessage()",
                                 "keys.Type()", "keys.Type({ENTER})", "keys.Type({ENTER})"));
}

TEST(ContactActions, TwoSignOutClicksDuringTheAddContactWaitRunBeforeItsSecondEnter) {
  ActionRig rig;
  rig.pump.queued.push_back([&] { rig.sign_out.Click(); });
  rig.pump.queued.push_back([&] { rig.sign_out.Click(); });
  rig.add_contact.Click();
  EXPECT_THAT(rig.Calls(),
              ElementsAre("OLE1.Play()", "Text2.Text()", "client.AddContact(0, friend@example.com)",
                          "keys.Type({ENTER})", "pump.Event()", "OLE2.Play()", "client.Signout()",
                          "pump.Event()", "OLE2.Play()", "client.Signout()", "pump.Sleep(1000 ms)",
                          "keys.Type({ENTER})", "dialog.Release()"));
}

// A client's question about a removal is a keyboard job's: clicked during another one, Delete
// Contact waits for its turn with the address of its click.
TEST(ContactActions, DeleteContactWaitsForItsTurnWithTheAddressOfItsClick) {
  ActionRig rig;
  rig.messenger.asks_before_removing = true;
  rig.pump.queued.push_back([&] {
    rig.address.text = "other@example.com";
    rig.delete_contact.Click();
    rig.address.text = "changed@example.com";
  });
  rig.add_contact.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  EXPECT_THAT(
      rig.Calls(),
      ElementsAre("OLE1.Play()", "Text2.Text()", "client.AddContact(0, friend@example.com)",
                  "keys.Type({ENTER})", "pump.Event()", "OLE1.Play()", "Text2.Text()",
                  "pump.Sleep(1000 ms)", "keys.Type({ENTER})", "dialog.Release()",
                  "pump.Sleep(300 ms)", "client.MyContacts()", "client.MyServiceId()",
                  "client.GetContact(other@example.com, service)",
                  "contact.SigninName(other@example.com)", "contacts.Remove(other@example.com)",
                  "keys.Type({ALT+R})", "removal.Release()"));
}

TEST(ClientTyping, WaitsForTheClientsWindowAndTypesOnceItHasTheFocus) {
  ActionRig rig;
  rig.focus.window = {0x600001, 999};  // another program's window
  int looks = 0;
  rig.focus.on_look = [&] {
    if (++looks == 4) rig.focus.window = kClientWindow;
  };
  rig.add_contact.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  const std::vector<std::string> calls(
      rig.log.calls.begin() + static_cast<std::ptrdiff_t>(rig.mark), rig.log.calls.end());
  const std::vector<std::string> until_first_key(
      calls.begin(), std::find(calls.begin(), calls.end(), "keys.Type({ENTER})") + 1);
  EXPECT_THAT(
      until_first_key,
      ElementsAre("OLE1.Play()", "Text2.Text()", "client.AddContact(0, friend@example.com)",
                  "focus.Focused()", "job.TakesKeys()", "pump.Sleep(20 ms)", "focus.Focused()",
                  "job.TakesKeys()", "pump.Sleep(20 ms)", "focus.Focused()", "job.TakesKeys()",
                  "pump.Sleep(20 ms)", "focus.Focused()", "job.TakesKeys()", "keys.Type({ENTER})"));
}

TEST(ClientTyping, FailsAfterThreeSecondsOnAForeignWindowAndTypesNothing) {
  ActionRig rig;
  rig.focus.window = {0x600001, 999, "Terminal", "bash"};
  const Clock::TimePoint start = rig.clock.now;
  rig.send_message.Click();
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  EXPECT_EQ(rig.errors.shown[0].code(), error_code::kFocus);
  EXPECT_EQ(rig.errors.shown[0].description(),
            "The messaging client's window did not take the keyboard focus within 3 seconds (the "
            "keyboard focus is on the window 'Terminal' (bash)), so nothing was typed");
  EXPECT_EQ(rig.clock.now - start, std::chrono::seconds(3));
  for (const std::string& call : rig.log.calls) EXPECT_FALSE(call.starts_with("keys.")) << call;
  EXPECT_EQ(rig.messenger.live_objects, 0) << "the conversation is let go on the way out";
}

TEST(KeyboardTurn, AJobWaitsForAnotherProgramsJobBeforeItsFirstCallAndFailsAfterTwentySeconds) {
  ActionRig rig;
  rig.keys.busy_turns = 4;  // asked once before the wait
  rig.send_message.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  const std::vector<std::string> calls = rig.Calls();
  // The boxes are read at the click: the job does what the user saw when clicking.
  EXPECT_THAT(std::vector(calls.begin(), calls.begin() + 8),
              ElementsAre("OLE1.Play()", "Text2.Text()", "Text4.Text()", "pump.Sleep(20 ms)",
                          "pump.Sleep(20 ms)", "pump.Sleep(20 ms)", "pump.Sleep(300 ms)",
                          "client.InstantMessage(friend@example.com)"));

  ActionRig stays;
  stays.keys.busy_turns = 1000000;
  const Clock::TimePoint start = stays.clock.now;
  stays.add_contact.Click();
  ASSERT_EQ(stays.errors.shown.size(), 1u);
  EXPECT_EQ(stays.errors.shown[0].code(), error_code::kKeystrokes);
  EXPECT_EQ(stays.errors.shown[0].description(),
            "Another Plumwick on this display kept the keyboard busy with its own job for 20 "
            "seconds, so nothing was done. Try again once it has finished");
  EXPECT_EQ(stays.clock.now - start, std::chrono::seconds(20));
  for (const std::string& call : stays.Calls()) {
    EXPECT_TRUE(call == "OLE1.Play()" || call == "Text2.Text()" || call == "pump.Sleep(20 ms)")
        << call;
  }
}

TEST(ClientTyping, AnotherProgramsHoldOnTheKeyboardIsWaitedForAlsoBetweenPiecesOfALongText) {
  const std::string grab = "another program holds the keyboard (a screen locker)";
  // 31 letters and a token are the first piece: a token is never cut.
  const std::string first(31, 'a'), second = std::string(31, 'b') + "é", third = "c{}}";
  ActionRig rig;
  rig.message.text = first + "{ENTER 2}" + second + third;
  int looks = 0;
  rig.focus.on_look = [&] {
    ++looks;
    if (looks == 2) rig.keys.blocked = grab;  // taken after the first piece went out
    if (looks == 4) rig.keys.blocked.clear();
  };
  rig.send_message.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  const std::vector<std::string> calls = rig.Calls();
  EXPECT_THAT(
      std::vector(calls.begin() + 4, calls.begin() + 10),
      ElementsAre("keys.Type(" + first + "{ENTER 2})", "pump.Sleep(20 ms)", "pump.Sleep(20 ms)",
                  "keys.Type(" + second + ")", "keys.Type(" + third + ")", "pump.Sleep(100 ms)"));

  for (const bool after_a_piece : {false, true}) {
    ActionRig stays;
    stays.keys.blocked = grab;
    stays.message.text = after_a_piece ? std::string(40, 'x') : "short";
    int stays_looks = 0;
    stays.focus.on_look = [&] {
      if (after_a_piece && ++stays_looks == 1) stays.keys.blocked.clear();
      if (stays_looks == 2) stays.keys.blocked = grab;
    };
    const Clock::TimePoint start = stays.clock.now;
    stays.send_message.Click();
    ASSERT_EQ(stays.errors.shown.size(), 1u);
    EXPECT_EQ(stays.errors.shown[0].code(), error_code::kKeystrokes);
    EXPECT_EQ(
        stays.errors.shown[0].description(),
        "The keys could not reach the messaging client's window for 3 seconds: another "
        "program holds the keyboard (a screen locker). So that none of them went there, " +
            std::string(after_a_piece ? "the rest of the job was not typed" : "nothing was typed"));
    EXPECT_EQ(stays.clock.now - start, std::chrono::seconds(3));
    EXPECT_EQ(std::ranges::count_if(
                  stays.Calls(), [](const std::string& call) { return call.starts_with("keys."); }),
              after_a_piece ? 1 : 0);
  }
}

TEST(ClientTyping, AKeyThePersonHoldsIsWaitedForAndFailsTheJobAfterThreeSeconds) {
  ActionRig rig;
  rig.keys.held = {"Return"};
  int looks = 0;
  rig.focus.on_look = [&] {
    if (++looks == 3) rig.keys.held.clear();
  };
  rig.add_contact.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  EXPECT_EQ(std::count(rig.log.calls.begin(), rig.log.calls.end(), "pump.Sleep(20 ms)"), 2)
      << "the first Enter waits until the key is up";

  ActionRig stays;
  stays.keys.held = {"Return", "A"};
  const Clock::TimePoint start = stays.clock.now;
  stays.send_message.Click();
  ASSERT_EQ(stays.errors.shown.size(), 1u);
  EXPECT_EQ(stays.errors.shown[0].code(), error_code::kKeystrokes);
  EXPECT_EQ(stays.errors.shown[0].description(),
            "The keys Return and A were held down for 3 seconds while the job had to press them, "
            "so nothing was typed (a key pressed while it is held down does not arrive)");
  EXPECT_EQ(stays.clock.now - start, std::chrono::seconds(3));
  for (const std::string& call : stays.log.calls) EXPECT_FALSE(call.starts_with("keys.")) << call;
}

TEST(ClientTyping, TheClientPreparesBeforeEachLookMayEndTheJobAndHearsWhereKeysWent) {
  ActionRig rig;
  const DesktopWindow other{0x600001, 999};
  rig.focus.window = other;
  rig.focus.on_look = [&] { rig.focus.window = kClientWindow; };
  rig.add_contact.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  ASSERT_GE(rig.messenger.prepared_for.size(), 2u);
  EXPECT_EQ(rig.messenger.prepared_for[0], kClientWindow) << "with the window just looked at";
  EXPECT_EQ(rig.messenger.typed_into, (std::vector<DesktopWindow>{kClientWindow, kClientWindow}))
      << "one note per typing step, after its keys";
  EXPECT_EQ(rig.messenger.keys_typed, (std::vector<std::string>{"{ENTER}", "{ENTER}"}));

  ActionRig failing;
  int prepared = 0;
  failing.messenger.on_prepare = [&] {
    if (++prepared == 2) throw Failure(error_code::kClientError, "not added");
  };
  failing.add_contact.Click();
  ASSERT_EQ(failing.errors.shown.size(), 1u);
  EXPECT_EQ(failing.errors.shown[0].code(), error_code::kClientError);
  EXPECT_EQ(std::count(failing.log.calls.begin(), failing.log.calls.end(), "keys.Type({ENTER})"), 1)
      << "the second Enter is not typed";
}

TEST(ClientTyping, NeverTypesIntoTheProgramsOwnWindowWhateverTheClientSays) {
  // The sandbox client's windows live in the program's process: the client cannot be trusted to
  // tell the program's window from its own, so the program never asks it about that window.
  ActionRig rig;
  DesktopWindow own = kClientWindow;
  own.own = true;
  rig.focus.window = own;
  rig.send_message.Click();
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  EXPECT_EQ(rig.errors.shown[0].code(), error_code::kFocus);
  EXPECT_THAT(rig.errors.shown[0].description(),
              ::testing::HasSubstr("(the keyboard focus is on Plumwick's own window), so nothing "
                                   "was typed"));
  for (const std::string& call : rig.log.calls) {
    EXPECT_FALSE(call.starts_with("keys.")) << call;
    EXPECT_NE(call, "job.TakesKeys()");
  }
}

TEST(ClientTyping, AClickOnTheProgramDuringTheJobHoldsItsKeysUntilTheClientHasTheFocusAgain) {
  ActionRig rig;
  DesktopWindow own{0x500001, 77, "PLUMWICK", "plumwick-sandbox", true};
  // The click during the wait after the name: the focus is on the program's window at the next
  // look, with the button down for two more looks, and comes back to the dialog 100 ms later.
  rig.pump.queued.push_back([&] { rig.focus.window = own; });
  int looks_at_own = 0;
  rig.focus.on_look = [&] {
    const bool clicking = rig.focus.window.own && ++looks_at_own < 3;
    rig.keys.blocked = clicking ? "a mouse button is held down" : "";
    if (looks_at_own == 6) rig.focus.window = kClientWindow;
  };
  int brought_back_in_click = 0;
  rig.messenger.on_prepare = [&] { brought_back_in_click += rig.keys.blocked.empty() ? 0 : 1; };
  rig.change_nickname.Click();
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  EXPECT_EQ(brought_back_in_click, 0) << "the client's window came back while the click was on";
  std::vector<std::string> calls = rig.Calls();
  std::erase_if(calls, [](const std::string& call) { return !call.starts_with("keys."); });
  EXPECT_THAT(calls,
              ElementsAre("keys.Type(New Name)", "keys.Type({ENTER})", "keys.Type({ENTER})"));
  EXPECT_EQ(looks_at_own, 6) << "no key went out while the program's window had the focus";
  EXPECT_EQ(rig.messenger.typed_into.size(), 3u);
  for (const DesktopWindow& window : rig.messenger.typed_into) EXPECT_FALSE(window.own);

  // Staying there, the job fails and says where the focus is, in words.
  ActionRig stays;
  stays.pump.queued.push_back([&] { stays.focus.window = own; });
  stays.send_message.Click();
  ASSERT_EQ(stays.errors.shown.size(), 1u);
  EXPECT_EQ(stays.errors.shown[0].description(),
            "The messaging client's window did not take the keyboard focus within 3 seconds (the "
            "keyboard focus is on Plumwick's own window), so the rest of the job was not typed");
}

TEST(ClientTyping, WhatHappensUnderTheKeysDecidesWhetherTheRestGoesOut) {
  // The keys stop after "héllo " (the focus moved, or a key must wait for the window's read
  // receipt), or before any key (a key held down or a grab taken since the wait): back from the
  // program's own window they go on where they stopped; another program's window stops the job
  // before its Enter. A key the program's window swallowed during the step, or a window that reads
  // its keys later than five seconds and 20 ms a key, fails the job before its Enter too; one that
  // reads them just in time does not.
  const DesktopWindow own{0x500001, 77, "PLUMWICK", "plumwick-sandbox", true};
  const DesktopWindow terminal{0x600001, 999, "Terminal", "bash"};
  const std::string first = "héllo Ωmega 100% :-) {{}x{}}", rest = "Ωmega 100% :-) {{}x{}}";
  struct Case {
    const char* name;
    TypedKeys::Stop stop;
    std::optional<DesktopWindow> focus_after;  // where the focus went when the keys stopped
    std::size_t swallowed;
    std::chrono::milliseconds receipt_after;  // how long the window takes to read its keys
    std::vector<std::string> typed;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"a click on the program",
       TypedKeys::Stop::kFocusLeft,
       own,
       0,
       {},
       {first, rest, "{ENTER}", "{ENTER}"},
       ""},
      {"a click on another program",
       TypedKeys::Stop::kFocusLeft,
       terminal,
       0,
       {},
       {first},
       "The keyboard focus moved away from the messaging client's window while the job typed (the "
       "keyboard focus is on the window 'Terminal' (bash)), so the rest of the job was not typed"},
      {"a key bound anew, read just in time",
       TypedKeys::Stop::kUnread,
       {},
       0,
       std::chrono::milliseconds(5000),
       {first, rest, "{ENTER}", "{ENTER}"},
       ""},
      {"a key held down since the wait",
       TypedKeys::Stop::kKeyboardBusy,
       {},
       0,
       {},
       {first, first, "{ENTER}", "{ENTER}"},
       ""},
      {"a key the program swallowed",
       TypedKeys::Stop::kFocusLeft,
       own,
       1,
       {},
       {first, rest},
       "1 key reached Plumwick's own window while the job typed, where it was ignored; it may "
       "have been the job's, so the rest of the job was not typed"},
      {"a window that reads too late",
       TypedKeys::Stop::kDone,
       {},
       0,
       std::chrono::milliseconds(5490),
       {first},
       "The messaging client did not read the keys typed into its window within 5.48 seconds (it "
       "may be busy or hung), so the rest of the job was not typed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ActionRig rig;
    rig.keys.receipt_after = c.receipt_after;
    int looks_away = 0;
    rig.keys.stop = [&](const KeySequence& keys) -> TypedKeys {
      if (rig.keys.typed_into.size() > 1 || c.stop == TypedKeys::Stop::kDone) {
        return {KeyCount(keys), TypedKeys::Stop::kDone};
      }
      if (c.focus_after) rig.focus.window = *c.focus_after;
      rig.key_shield.swallowed += c.swallowed;
      return {c.stop == TypedKeys::Stop::kKeyboardBusy ? 0u : 6u, c.stop};
    };
    rig.focus.on_look = [&] {
      if (rig.focus.window.own && ++looks_away == 3) rig.focus.window = kClientWindow;
    };
    rig.send_message.Click();
    EXPECT_EQ(TypedSteps(rig.Calls()), c.typed);
    for (const std::uint64_t window : rig.keys.typed_into) EXPECT_EQ(window, kClientWindow.id);
    if (c.error.empty()) {
      EXPECT_THAT(rig.errors.shown, IsEmpty());
      EXPECT_GE(rig.keys.receipts_asked, 3) << "each step ends with the window's read receipt";
    } else {
      ASSERT_EQ(rig.errors.shown.size(), 1u);
      EXPECT_EQ(rig.errors.shown[0].description(), c.error);
    }
    ASSERT_FALSE(rig.key_shield.covered.empty());
    const bool whole_first =
        c.stop == TypedKeys::Stop::kDone || c.stop == TypedKeys::Stop::kKeyboardBusy;
    const std::uint32_t first_keys = whole_first ? 24 : 6;
    EXPECT_EQ(rig.key_shield.covered.front(), std::make_pair(1000u, 1000u + first_keys))
        << "the span of the keys that went out, told the shield before any event is handled";
  }
}

TEST(KeyNotationCheck, ABadTextOpensNoWindowAndTheErrorNamesTheBoxAndTheCharacter) {
  struct Case {
    const char* name;
    FakeButton Rig::*button;
    FakeTextBox Rig::*box;
    std::string text;
    std::vector<std::string> calls;
    std::string error;
    std::string untypable;  // what the keyboard says no key of it can type
    std::int32_t code = error_code::kKeyNotation;
  };
  const std::vector<Case> cases = {
      {"Send Msg.",
       &Rig::send_message,
       &Rig::message,
       "abc{FOO}def",
       {"OLE1.Play()", "Text2.Text()", "Text4.Text()"},
       "The text of the message box cannot be typed: at the 4th character, {FOO} is not a key "
       "name (see the README for the names). Nothing was done.",
       "",
       error_code::kKeyNotation},
      {"Change NickName",
       &Rig::change_nickname,
       &Rig::nickname,
       "Zoë }",
       {"OLE1.Play()", "Text3.Text()"},
       "The text of the nickname box cannot be typed: at the 5th character, this } closes no {: "
       "write a literal } as {}}. Nothing was done.",
       "",
       error_code::kKeyNotation},
      {"a control character",
       &Rig::send_message,
       &Rig::message,
       "Zoë\x0e{ENTER}",
       {"OLE1.Play()", "Text2.Text()", "Text4.Text()"},
       "The text of the message box cannot be typed: at the 4th character, the control character "
       "U+000E is no key to type. Nothing was done.",
       "",
       error_code::kKeyNotation},
      {"a control character of the second range",
       &Rig::change_nickname,
       &Rig::nickname,
       "ab\u0085",
       {"OLE1.Play()", "Text3.Text()"},
       "The text of the nickname box cannot be typed: at the 3rd character, the control character "
       "U+0085 is no key to type. Nothing was done.",
       "",
       error_code::kKeyNotation},
      {"characters no key can type",
       &Rig::send_message,
       &Rig::message,
       "Ωmega",
       {"OLE1.Play()", "Text2.Text()", "Text4.Text()"},
       "The text of the message box cannot be typed: it has 1 character the keyboard layout "
       "lacks, such as \"Ω\", and the layout leaves no key free to type it. Nothing was done.",
       "1 character the keyboard layout lacks, such as \"Ω\", and the layout leaves no key free "
       "to type it",
       error_code::kKeystrokes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ActionRig rig;
    (rig.*c.box).text = c.text;
    rig.keys.untypable = c.untypable;
    (rig.*c.button).Click();
    EXPECT_EQ(rig.Calls(), c.calls) << "no client call, no key";
    ASSERT_EQ(rig.errors.shown.size(), 1u);
    EXPECT_EQ(rig.errors.shown[0].code(), c.code);
    EXPECT_EQ(rig.errors.shown[0].description(), c.error);
  }
}

TEST(FaultInjection, EachCallOfEachActionFailsInTurnLeavingEarlierEffectsInPlace) {
  const std::pair<const char*, FakeButton Rig::*> buttons[] = {
      {"Send Msg.", &Rig::send_message},
      {"Add contact", &Rig::add_contact},
      {"Change NickName", &Rig::change_nickname},
      {"Delete Contact", &Rig::delete_contact},
      {"Sign Out", &Rig::sign_out}};
  for (const auto& [name, button] : buttons) {
    ActionRig clean;
    (clean.*button).Click();
    const std::vector<std::string> calls(
        clean.log.calls.begin() + static_cast<std::ptrdiff_t>(clean.mark), clean.log.calls.end());
    std::map<std::string, int> seen;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      const std::string call = calls[i].substr(0, calls[i].find('('));
      if (call == "pump.Sleep" || call.ends_with(".Release")) continue;  // cannot fail
      const int occurrence = ++seen[call];
      SCOPED_TRACE(std::string(name) + ": failing " + calls[i]);
      ActionRig rig;
      rig.log.FailAt(call, occurrence);
      (rig.*button).Click();
      ASSERT_EQ(rig.errors.shown.size(), 1u);
      EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
      std::vector<std::string> made(rig.log.calls.begin() + static_cast<std::ptrdiff_t>(rig.mark),
                                    rig.log.calls.end());
      const auto release = [](const std::string& made_call) {
        return made_call.ends_with(".Release()");
      };
      std::erase_if(made, release);
      std::vector<std::string> expected(calls.begin(),
                                        calls.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      std::erase_if(expected, release);
      // A job that borrowed keys (typed a character outside ASCII) before the failure ends once
      // the client had time to read them.
      if (std::any_of(expected.begin(), expected.end() - 1, [](const std::string& made_call) {
            return made_call.starts_with("keys.Type(") &&
                   std::ranges::any_of(made_call, [](char c) { return c < 0; });
          })) {
        expected.push_back("pump.Sleep(300 ms)");
      }
      EXPECT_EQ(made, expected) << "earlier calls stay made, nothing after the failure runs";
      EXPECT_EQ(rig.messenger.live_objects, 0);
      rig.status_box.Pick(0);
      EXPECT_EQ(rig.log.calls.back(), "client.MyStatus(2)") << "the window keeps running";
    }
  }
}

TEST(Pause, MeasuresItsIntervalOnTheInjectedSteadyClockOnly) {
  // The wait reads no wall clock: with the steady clock standing still between looks, only the
  // pump's sleeps move it, and the wait ends exactly at its interval whatever the time of day.
  for (const double seconds : {0.1, 0.5, 1.0}) {
    Rig rig;
    ASSERT_TRUE(rig.form.Start());
    const Clock::TimePoint start = rig.clock.now;
    const std::size_t mark = rig.log.calls.size();
    rig.wait.Pause(std::chrono::duration<double>(seconds));
    EXPECT_EQ(rig.clock.now - start, std::chrono::round<Clock::TimePoint::duration>(
                                         std::chrono::duration<double>(seconds)));
    EXPECT_EQ(rig.log.calls.size(), mark + 1) << "one sleep, no spinning";
  }
}

}  // namespace
}  // namespace plumwick::testing
