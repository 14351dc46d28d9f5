// The window's start-up, event dispatch, cue rule, exit, and the status box and contact list
// handlers, against doubles of the desktop and the messaging client.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/doubles.h"

namespace plumwick::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Calls logged since the mark.
std::vector<std::string> Since(const CallLog& log, std::size_t mark) {
  return {log.calls.begin() + static_cast<std::ptrdiff_t>(mark), log.calls.end()};
}

TEST(StartUp, PlaysCueCreatesClientFillsStatusBoxAndDisablesThreeButtonsInOrder) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  EXPECT_THAT(rig.log.calls,
              ElementsAre("OLE3.Play()", "CreateClient()", "cboStatus.Append(Online)",
                          "cboStatus.Append(Busy)", "cboStatus.Append(Away)",
                          "KewlButtons1.SetEnabled(false)", "KewlButtons2.SetEnabled(false)",
                          "KewlButtons6.SetEnabled(false)", "window.ShowAndActivate()"));
  EXPECT_THAT(rig.cboStatus.entries, ElementsAre("Online", "Busy", "Away"));
  EXPECT_EQ(rig.cboStatus.text, "CHANGE YOUR MSN STATUS HERE !");
  EXPECT_TRUE(rig.cmdload.enabled);
  EXPECT_TRUE(rig.KewlButtons3.enabled);
  EXPECT_THAT(rig.errors.shown, IsEmpty());
}

TEST(StartUp, FailureAtAnyStepShowsTheErrorAndNeverShowsTheWindow) {
  for (const char* step : {"OLE3.Play", "CreateClient", "cboStatus.Append",
                           "KewlButtons1.SetEnabled", "KewlButtons6.SetEnabled"}) {
    SCOPED_TRACE(step);
    Rig rig;
    rig.log.FailAt(step);
    EXPECT_FALSE(rig.form.Start());
    EXPECT_FALSE(rig.window.shown);
    ASSERT_EQ(rig.errors.shown.size(), 1u);
    EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
    EXPECT_TRUE(rig.log.calls.back().starts_with(step)) << "nothing runs after the failing step";
  }
}

TEST(StartUp, ClientIsNotCreatedWhenTheStartUpCueFails) {
  Rig rig;
  rig.log.FailAt("OLE3.Play");
  EXPECT_FALSE(rig.form.Start());
  EXPECT_THAT(rig.log.calls, ElementsAre("OLE3.Play()"));
}

TEST(StatusBox, WritesTheCodeOfAnExactPickOnlyReadingTheTextOncePerNameTried) {
  struct Case {
    std::string text;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"Online", {"cboStatus.Text()", "msn.MyStatus(2)"}},
      {"Busy", {"cboStatus.Text()", "cboStatus.Text()", "msn.MyStatus(10)"}},
      {"Away", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()", "msn.MyStatus(34)"}},
      {"busy", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()"}},
      {"Online ", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()"}},
      {"CHANGE YOUR MSN STATUS HERE !",
       {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Rig rig;
    ASSERT_TRUE(rig.form.Start());
    const std::size_t mark = rig.log.calls.size();
    rig.cboStatus.text = c.text;
    rig.form.Dispatch(frmMsn::Event::kStatusPick);
    EXPECT_EQ(Since(rig.log, mark), c.calls);
  }
}

TEST(StatusBox, PicksFromTheListWriteTypingDoesNot) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  const std::size_t mark = rig.log.calls.size();
  rig.cboStatus.Type("Busy");  // typed, not picked: no event
  rig.cboStatus.Pick(2);
  rig.cboStatus.Pick(1);
  rig.cboStatus.Pick(0);
  std::vector<std::string> writes;
  for (const std::string& call : Since(rig.log, mark)) {
    if (call.starts_with("msn.")) writes.push_back(call);
  }
  EXPECT_THAT(writes, ElementsAre("msn.MyStatus(34)", "msn.MyStatus(10)", "msn.MyStatus(2)"));
}

TEST(SelectList, ListsTheContactsWhoAreNotOfflineInOrderAndSwapsTheButtons) {
  struct Case {
    std::string name;
    std::vector<FakeContact> contacts;
    std::vector<std::string> listed;
  };
  const std::vector<Case> cases = {
      {"mixed",
       {{"on@x", 2}, {"off@x", 1}, {"away@x", 34}, {"busy@x", 10}, {"lunch@x", 66}, {"off2@x", 1}},
       {"on@x", "away@x", "busy@x", "lunch@x"}},
      {"no contacts", {}, {}},
      {"all offline", {{"a@x", 1}, {"b@x", 1}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.messenger.contacts = c.contacts;
    ASSERT_TRUE(rig.form.Start());
    rig.cmdload.Click();
    EXPECT_EQ(rig.lbContacts.entries, c.listed);
    EXPECT_FALSE(rig.cmdload.enabled);
    EXPECT_TRUE(rig.KewlButtons1.enabled);
    EXPECT_EQ(rig.messenger.live_objects, 0) << "every client object is let go";
    EXPECT_THAT(rig.errors.shown, IsEmpty());
  }
}

TEST(SelectList, AppendsBehindWhatTheListAlreadyHolds) {
  Rig rig;
  rig.messenger.contacts = {{"new@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.lbContacts.entries = {"old@x"};
  rig.cmdload.Click();
  EXPECT_THAT(rig.lbContacts.entries, ElementsAre("old@x", "new@x"));
}

TEST(SelectList, FailureMidwayKeepsTheNamesAddedAndBothFlags) {
  Rig rig;
  rig.messenger.contacts = {{"a@x", 2}, {"b@x", 2}, {"c@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.log.FailAt("contact.SigninName", 2);
  rig.cmdload.Click();
  EXPECT_THAT(rig.lbContacts.entries, ElementsAre("a@x"));
  EXPECT_TRUE(rig.cmdload.enabled);
  EXPECT_FALSE(rig.KewlButtons1.enabled);
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
  EXPECT_EQ(rig.messenger.live_objects, 0) << "objects are let go on the way out through an error";
}

TEST(ClearList, EmptiesListAndPadAndSwapsTheButtonsLeavingPadFlags) {
  Rig rig;
  rig.messenger.contacts = {{"a@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.cmdload.Click();
  rig.Text1.text = "12:00:00";
  rig.KewlButtons2.enabled = true;
  rig.KewlButtons3.enabled = false;
  rig.KewlButtons1.Click();
  EXPECT_THAT(rig.lbContacts.entries, IsEmpty());
  EXPECT_EQ(rig.Text1.text, "");
  EXPECT_TRUE(rig.cmdload.enabled);
  EXPECT_FALSE(rig.KewlButtons1.enabled);
  EXPECT_TRUE(rig.KewlButtons2.enabled);
  EXPECT_FALSE(rig.KewlButtons3.enabled);
}

TEST(ContactList, DoubleClickOpensAConversationWithTheCurrentEntryWithoutACue) {
  struct Case {
    int current;
    std::string contact;
  };
  for (const Case& c : {Case{-1, ""}, Case{1, "b@x"}}) {
    SCOPED_TRACE(c.contact);
    Rig rig;
    ASSERT_TRUE(rig.form.Start());
    rig.lbContacts.entries = {"a@x", "b@x"};
    rig.lbContacts.current = c.current;
    const std::size_t mark = rig.log.calls.size();
    rig.lbContacts.DoubleClick();
    EXPECT_THAT(Since(rig.log, mark),
                ElementsAre("lbContacts.CurrentText()", "msn.InstantMessage(" + c.contact + ")",
                            "conversation.Release()"));
    EXPECT_EQ(rig.messenger.live_objects, 0) << "the conversation window object is let go at once";
  }
}

TEST(CueRule, EveryButtonPlaysItsOwnCueFirstAndAFailingCueStopsTheAction) {
  struct Case {
    const char* name;
    FakeButton Rig::*button;
    const char* cue;
  };
  const std::vector<Case> cases = {
      {"Select List", &Rig::cmdload, "OLE1.Play"},
      {"Clear List", &Rig::KewlButtons1, "OLE1.Play"},
      {"Clear", &Rig::KewlButtons2, "OLE1.Play"},
      {"Time", &Rig::KewlButtons3, "OLE1.Play"},
      {"Date", &Rig::KewlButtons4, "OLE1.Play"},
      {"Get IP !", &Rig::KewlButtons5, "OLE1.Play"},
      {"Clipboard", &Rig::KewlButtons6, "OLE1.Play"},
      {"EXIT PROGRAM!", &Rig::KewlButtons7, "OLE2.Play"},
      {"Sign Out", &Rig::KewlButtons8, "OLE2.Play"},
      {"Delete Contact", &Rig::KewlButtons9, "OLE1.Play"},
      {"Send Msg.", &Rig::KewlButtons10, "OLE1.Play"},
      {"Add contact", &Rig::KewlButtons11, "OLE1.Play"},
      {"Change NickName", &Rig::KewlButtons12, "OLE1.Play"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      Rig rig;
      ASSERT_TRUE(rig.form.Start());
      (rig.*c.button).enabled = true;
      const std::size_t mark = rig.log.calls.size();
      try {
        (rig.*c.button).Click();
      } catch (const ProgramEnded&) {
      }
      ASSERT_GT(rig.log.calls.size(), mark);
      EXPECT_EQ(rig.log.calls[mark], std::string(c.cue) + "()");
    }
    {
      Rig rig;
      ASSERT_TRUE(rig.form.Start());
      (rig.*c.button).enabled = true;
      rig.log.FailAt(c.cue);
      const std::size_t mark = rig.log.calls.size();
      (rig.*c.button).Click();
      EXPECT_THAT(Since(rig.log, mark), ElementsAre(std::string(c.cue) + "()"));
      ASSERT_EQ(rig.errors.shown.size(), 1u);
      EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
    }
  }
}

TEST(Exit, PlaysItsCueAndEndsWithoutAnyClientCall) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  const std::size_t mark = rig.log.calls.size();
  EXPECT_THROW(rig.KewlButtons7.Click(), ProgramEnded);
  EXPECT_THAT(Since(rig.log, mark), ElementsAre("OLE2.Play()", "window.End()"));
}

TEST(TitleLabel, APressStartsAWindowMoveWithoutACue) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  const std::size_t mark = rig.log.calls.size();
  rig.Label1.MouseDown();
  EXPECT_THAT(Since(rig.log, mark), ElementsAre("drag.StartMove()"));
}

TEST(FailureRule, TheWindowKeepsHandlingEventsAfterAFailure) {
  Rig rig;
  rig.messenger.contacts = {{"a@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.log.FailAt("msn.MyContacts");
  rig.cmdload.Click();
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  rig.cmdload.Click();  // the same button again, now without a fault
  EXPECT_THAT(rig.lbContacts.entries, ElementsAre("a@x"));
  EXPECT_EQ(rig.errors.shown.size(), 1u);
}

TEST(Pause, ReturnsAfterTheIntervalRunningEventsNestedInsideTheWait) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  rig.messenger.contacts = {{"a@x", 2}};
  rig.pump.queued.push_back([&] { rig.cmdload.Click(); });
  const Clock::TimePoint start = rig.clock.now;
  rig.form.Pause(std::chrono::duration<double>(1));
  EXPECT_GE(rig.clock.now - start, std::chrono::seconds(1));
  EXPECT_THAT(rig.lbContacts.entries, ElementsAre("a@x")) << "the click ran inside the wait";
}

}  // namespace
}  // namespace plumwick::testing
