// The window's start-up, event dispatch, cue rule, exit, one keyboard job at a time, and the status
// box and contact list handlers, against doubles of the desktop and the messaging client.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

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
                          "SkinButtons1.SetEnabled(false)", "SkinButtons2.SetEnabled(false)",
                          "SkinButtons6.SetEnabled(false)", "window.ShowAndActivate()"));
  EXPECT_THAT(rig.status_box.entries, ElementsAre("Online", "Busy", "Away"));
  EXPECT_EQ(rig.status_box.text, "CHANGE YOUR STATUS HERE !");
  EXPECT_TRUE(rig.select_list.enabled);
  EXPECT_TRUE(rig.insert_time.enabled);
  EXPECT_THAT(rig.errors.shown, IsEmpty());
}

TEST(StartUp, FailureAtAnyStepShowsTheErrorAndNeverShowsTheWindow) {
  for (const char* step : {"OLE3.Play", "CreateClient", "cboStatus.Append",
                           "SkinButtons1.SetEnabled", "SkinButtons6.SetEnabled"}) {
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
      {"Online", {"cboStatus.Text()", "client.MyStatus(2)"}},
      {"Busy", {"cboStatus.Text()", "cboStatus.Text()", "client.MyStatus(10)"}},
      {"Away", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()", "client.MyStatus(34)"}},
      {"busy", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()"}},
      {"Online ", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()"}},
      {"CHANGE YOUR STATUS HERE !", {"cboStatus.Text()", "cboStatus.Text()", "cboStatus.Text()"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Rig rig;
    ASSERT_TRUE(rig.form.Start());
    const std::size_t mark = rig.log.calls.size();
    rig.status_box.text = c.text;
    rig.form.Dispatch(MainWindow::Event::kStatusPick);
    EXPECT_EQ(Since(rig.log, mark), c.calls);
  }
}

TEST(StatusBox, PicksFromTheListWriteTypingDoesNot) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  const std::size_t mark = rig.log.calls.size();
  rig.status_box.Type("Busy");  // typed, not picked: no event
  rig.status_box.Pick(2);
  rig.status_box.Pick(1);
  rig.status_box.Pick(0);
  std::vector<std::string> writes;
  for (const std::string& call : Since(rig.log, mark)) {
    if (call.starts_with("client.")) writes.push_back(call);
  }
  EXPECT_THAT(writes,
              ElementsAre("client.MyStatus(34)", "client.MyStatus(10)", "client.MyStatus(2)"));
}

TEST(StatusBox, APickTheClientDidNotSetIsTakenBackBeforeTheErrorShows) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  rig.status_box.Pick(1);
  EXPECT_EQ(rig.status_box.text, "Busy");
  rig.log.FailAt("client.MyStatus");
  rig.status_box.Pick(2);
  EXPECT_EQ(rig.status_box.text, "Busy") << "Away was never set";
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
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
    rig.select_list.Click();
    EXPECT_EQ(rig.contact_list.entries, c.listed);
    EXPECT_FALSE(rig.select_list.enabled);
    EXPECT_TRUE(rig.clear_list.enabled);
    EXPECT_EQ(rig.messenger.live_objects, 0) << "every client object is let go";
    EXPECT_THAT(rig.errors.shown, IsEmpty());
  }
}

TEST(SelectList, AppendsBehindWhatTheListAlreadyHolds) {
  Rig rig;
  rig.messenger.contacts = {{"new@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.contact_list.entries = {"old@x"};
  rig.select_list.Click();
  EXPECT_THAT(rig.contact_list.entries, ElementsAre("old@x", "new@x"));
}

TEST(SelectList, FailureMidwayKeepsTheNamesAddedAndBothFlags) {
  Rig rig;
  rig.messenger.contacts = {{"a@x", 2}, {"b@x", 2}, {"c@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.log.FailAt("contact.SigninName", 2);
  rig.select_list.Click();
  EXPECT_THAT(rig.contact_list.entries, ElementsAre("a@x"));
  EXPECT_TRUE(rig.select_list.enabled);
  EXPECT_FALSE(rig.clear_list.enabled);
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
  EXPECT_EQ(rig.messenger.live_objects, 0) << "objects are let go on the way out through an error";
}

TEST(ClearList, EmptiesListAndPadAndSwapsTheButtonsLeavingPadFlags) {
  Rig rig;
  rig.messenger.contacts = {{"a@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.select_list.Click();
  rig.pad.text = "12:00:00";
  rig.clear_pad.enabled = true;
  rig.insert_time.enabled = false;
  rig.clear_list.Click();
  EXPECT_THAT(rig.contact_list.entries, IsEmpty());
  EXPECT_EQ(rig.pad.text, "");
  EXPECT_TRUE(rig.select_list.enabled);
  EXPECT_FALSE(rig.clear_list.enabled);
  EXPECT_TRUE(rig.clear_pad.enabled);
  EXPECT_FALSE(rig.insert_time.enabled);
}

TEST(ContactList, DoubleClickOpensAConversationWithTheCurrentEntryWithoutACue) {
  struct Case {
    int current;
    std::string contact;
    int tabs_behind;  // the keys that bring it in front go through the focus guard
    int busy_turns;   // looks at the display's keyboard while another Plumwick's job holds it
  };
  for (const Case& c :
       {Case{-1, "", 0, 0}, Case{1, "b@x", 0, 0}, Case{0, "a@x", 2, 0}, Case{0, "a@x", 1, 2}}) {
    SCOPED_TRACE(c.contact);
    Rig rig;
    ASSERT_TRUE(rig.form.Start());
    rig.contact_list.entries = {"a@x", "b@x"};
    rig.contact_list.current = c.current;
    rig.messenger.tabs_behind = c.tabs_behind;
    rig.keys.busy_turns = c.busy_turns;
    const std::size_t mark = rig.log.calls.size();
    rig.contact_list.DoubleClick();
    std::vector<std::string> expected = {"lbContacts.CurrentText()",
                                         "client.InstantMessage(" + c.contact + ")"};
    for (int i = 0; i < c.busy_turns; ++i)
      expected.insert(expected.end(), {"focus.Focused()", "job.TakesKeys()"});
    for (int i = 0; i < c.tabs_behind; ++i) {
      expected.insert(expected.end(),
                      {"focus.Focused()", "job.TakesKeys()", "keys.Type({CTRL+PGDN})"});
    }
    expected.push_back("conversation.Release()");
    std::vector<std::string> calls = Since(rig.log, mark);
    std::erase_if(calls, [](const std::string& call) { return call.starts_with("pump."); });
    EXPECT_EQ(calls, expected);
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
      {"Select List", &Rig::select_list, "OLE1.Play"},
      {"Clear List", &Rig::clear_list, "OLE1.Play"},
      {"Clear", &Rig::clear_pad, "OLE1.Play"},
      {"Time", &Rig::insert_time, "OLE1.Play"},
      {"Date", &Rig::insert_date, "OLE1.Play"},
      {"Get IP !", &Rig::get_ip, "OLE1.Play"},
      {"Clipboard", &Rig::copy_pad, "OLE1.Play"},
      {"EXIT PROGRAM!", &Rig::exit_program, "OLE2.Play"},
      {"Sign Out", &Rig::sign_out, "OLE2.Play"},
      {"Delete Contact", &Rig::delete_contact, "OLE1.Play"},
      {"Send Msg.", &Rig::send_message, "OLE1.Play"},
      {"Add contact", &Rig::add_contact, "OLE1.Play"},
      {"Change NickName", &Rig::change_nickname, "OLE1.Play"},
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
  EXPECT_THROW(rig.exit_program.Click(), ProgramEnded);
  EXPECT_THAT(Since(rig.log, mark), ElementsAre("OLE2.Play()", "window.End()"));
}

TEST(FailureRule, TheWindowKeepsHandlingEventsAfterAFailure) {
  Rig rig;
  rig.messenger.contacts = {{"a@x", 2}};
  ASSERT_TRUE(rig.form.Start());
  rig.log.FailAt("client.MyContacts");
  rig.select_list.Click();
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  rig.select_list.Click();  // the same button again, now without a fault
  EXPECT_THAT(rig.contact_list.entries, ElementsAre("a@x"));
  EXPECT_EQ(rig.errors.shown.size(), 1u);
}

// The client calls and keystrokes of the jobs, in order: what reached the client.
std::vector<std::string> JobCalls(const CallLog& log, std::size_t mark) {
  std::vector<std::string> calls;
  for (const std::string& call : Since(log, mark)) {
    if (call == "job.TakesKeys()") continue;  // the focus guard's, tested with the typing
    if (call.starts_with("keys.") || call.starts_with("client.") || call.starts_with("OLE") ||
        call == "window.ShowAndActivate()") {
      calls.push_back(call);
    }
  }
  return calls;
}

struct JobRig : StartedRig {
  JobRig() : StartedRig("hi", "Nick") {}
};

const std::vector<std::string> kSendCalls = {"client.InstantMessage(friend@example.com)",
                                             "keys.Type(hi)", "keys.Type({ENTER})",
                                             "keys.Type({ENTER})"};

TEST(KeyboardJobs, FastClicksOnSendEachSendAWholeMessageInTurnTheirCuesPlayingAtTheClick) {
  JobRig rig;
  // Four more clicks arrive while the first job waits between its message and its Enter.
  for (int i = 0; i < 4; ++i) rig.pump.queued.push_back([&] { rig.send_message.Click(); });
  rig.send_message.Click();
  std::vector<std::string> expected = {"OLE1.Play()", kSendCalls[0], kSendCalls[1]};
  for (int i = 0; i < 4; ++i) expected.push_back("OLE1.Play()");  // heard at each click
  expected.insert(expected.end(), kSendCalls.begin() + 2, kSendCalls.end());
  for (int i = 0; i < 4; ++i) expected.insert(expected.end(), kSendCalls.begin(), kSendCalls.end());
  EXPECT_EQ(JobCalls(rig.log, rig.mark), expected);
  EXPECT_THAT(rig.errors.shown, IsEmpty());
  EXPECT_FALSE(rig.form.KeyboardJobRunning());
}

TEST(KeyboardJobs, TypingHandlersWaitInClickOrderWithTheirClicksTextsWhileOthersRunAtOnce) {
  JobRig rig;
  rig.messenger.contacts = {{"a@x", 2}, {"b@x", 2}};
  rig.pump.queued.push_back([&] { rig.change_nickname.Click(); });
  rig.pump.queued.push_back([&] { rig.select_list.Click(); });
  // A double-click may press keys to bring its conversation forward: it waits in the line too,
  // and opens the entry it was made on.
  for (const int entry : {0, 1}) {
    rig.pump.queued.push_back([&rig, entry] {
      rig.contact_list.current = entry;
      rig.contact_list.DoubleClick();
    });
  }
  // A job does what its click saw, whatever the boxes hold when its turn comes.
  rig.pump.queued.push_back([&] {
    rig.address.text = "bob@@localhost";
    rig.add_contact.Click();
  });
  rig.pump.queued.push_back([&] { rig.sign_out.Click(); });
  rig.pump.queued.push_back([&] {
    rig.address.text = "bob@localhost";
    rig.message.text = "second message";
    rig.send_message.Click();
  });
  rig.pump.queued.push_back([&] {  // typed, never clicked
    rig.address.text = "dave@localhost";
    rig.message.text = "third text (not clicked)";
    rig.nickname.text = "Other";
  });
  rig.send_message.Click();
  EXPECT_THAT(
      JobCalls(rig.log, rig.mark),
      ElementsAre("OLE1.Play()", kSendCalls[0], kSendCalls[1],
                  // inside the Send job's wait: the cues of the typing ones, the others whole
                  "OLE1.Play()", "OLE1.Play()", "client.MyContacts()", "OLE1.Play()", "OLE2.Play()",
                  "client.Signout()", "OLE1.Play()", kSendCalls[2], kSendCalls[3],
                  // then the ones that take turns, in the order of their clicks
                  "client.OptionsPages(0, 0)", "keys.Type(Nick)", "keys.Type({ENTER})",
                  "keys.Type({ENTER})", "window.ShowAndActivate()", "client.InstantMessage(a@x)",
                  "client.InstantMessage(b@x)", "client.AddContact(0, bob@@localhost)",
                  "keys.Type({ENTER})", "keys.Type({ENTER})",
                  "client.InstantMessage(bob@localhost)", "keys.Type(second message)",
                  "keys.Type({ENTER})", "keys.Type({ENTER})"));
  EXPECT_THAT(rig.contact_list.entries, ElementsAre("a@x", "b@x"));
}

TEST(KeyboardJobs, AFailedJobEndsItsTurnAndTheNextRunsAfterItsErrorWasShown) {
  JobRig rig;
  rig.pump.queued.push_back([&] { rig.send_message.Click(); });
  rig.log.FailAt("keys.Type", 2);  // the first job's first Enter
  rig.send_message.Click();
  ASSERT_EQ(rig.errors.shown.size(), 1u);
  EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
  EXPECT_THAT(
      JobCalls(rig.log, rig.mark),
      ElementsAre("OLE1.Play()", kSendCalls[0], kSendCalls[1], "OLE1.Play()", "keys.Type({ENTER})",
                  kSendCalls[0], kSendCalls[1], kSendCalls[2], kSendCalls[3]));
  EXPECT_EQ(rig.messenger.live_objects, 0);

  // A cue that fails at the click stops that action as it would stop one run at once.
  rig.mark = rig.log.calls.size();
  rig.pump.queued.push_back([&] { rig.add_contact.Click(); });
  rig.log.FailAt("OLE1.Play", 2);
  rig.send_message.Click();
  ASSERT_EQ(rig.errors.shown.size(), 2u);
  EXPECT_THAT(JobCalls(rig.log, rig.mark),
              ElementsAre("OLE1.Play()", kSendCalls[0], kSendCalls[1], "OLE1.Play()", kSendCalls[2],
                          kSendCalls[3]));
}

TEST(KeyboardJobs, ExitDuringAJobEndsAtOnceAndTheWaitingJobsNeverRun) {
  JobRig rig;
  rig.pump.queued.push_back([&] { rig.add_contact.Click(); });
  rig.pump.queued.push_back([&] { rig.exit_program.Click(); });
  EXPECT_THROW(rig.send_message.Click(), ProgramEnded);
  EXPECT_THAT(JobCalls(rig.log, rig.mark), ElementsAre("OLE1.Play()", kSendCalls[0], kSendCalls[1],
                                                       "OLE1.Play()", "OLE2.Play()"));
  // The double unwinds where the real window ends the process: only letting go happens after.
  const auto end = std::find(rig.log.calls.begin(), rig.log.calls.end(), "window.End()");
  ASSERT_NE(end, rig.log.calls.end());
  EXPECT_EQ(std::vector<std::string>(end + 1, rig.log.calls.end()),
            std::vector<std::string>{"conversation.Release()"});
}

TEST(KeyboardJobs, AJobClickedInsideTheWaitOfAHandlerThatDoesNotTypeStartsAtOnce) {
  // Only keyboard jobs take turns: nothing else holds one back.
  JobRig rig;
  rig.messenger.contacts = {{"a@x", 2}};
  rig.contact_list.entries = {"a@x"};
  rig.contact_list.current = 0;
  rig.pump.queued.push_back([&] { rig.send_message.Click(); });
  rig.wait.Pause(std::chrono::duration<double>(0.5));  // as a client's wait inside a handler does
  EXPECT_EQ(JobCalls(rig.log, rig.mark),
            (std::vector<std::string>{"OLE1.Play()", kSendCalls[0], kSendCalls[1], kSendCalls[2],
                                      kSendCalls[3]}));
}

// The line on its own: a job put in line starts after the pause that follows the end of the one
// before (its borrowed keys given back, the display's keyboard handed on), and a way out that is
// not a failure (the program ending) drops the jobs still in line.
TEST(KeyboardJobs, EachJobInLineStartsAPauseAfterTheEndOfTheOneBeforeAndAnEndDropsTheLine) {
  Rig rig;
  KeyboardJobs jobs(rig.wait, rig.keys);
  const auto job = [&rig](const std::string& name) -> KeyboardJobs::Job {
    return [&rig, name] {
      rig.log.Record(name, std::to_string(rig.keys.jobs_ended) + " ended");
      return true;
    };
  };
  EXPECT_TRUE(jobs.Start([&] { return jobs.Start(job("second")) && jobs.Start(job("third")); }));
  EXPECT_THAT(rig.log.calls, ElementsAre("pump.Sleep(300 ms)", "second(1 ended)",
                                         "pump.Sleep(300 ms)", "third(2 ended)"));
  EXPECT_EQ(rig.keys.jobs_ended, 3);

  const KeyboardJobs::Job ends = [&]() -> bool {
    jobs.Start(job("dropped"));
    throw ProgramEnded();
  };
  EXPECT_THROW(jobs.Start(ends), ProgramEnded);
  EXPECT_FALSE(jobs.Running());
  jobs.Start(job("after the end"));
  EXPECT_EQ(rig.log.calls.back(), "after the end(4 ended)");
}

TEST(EventWait, PauseReturnsAfterTheIntervalRunningEventsNestedInsideTheWait) {
  Rig rig;
  ASSERT_TRUE(rig.form.Start());
  rig.messenger.contacts = {{"a@x", 2}};
  rig.pump.queued.push_back([&] { rig.select_list.Click(); });
  const Clock::TimePoint start = rig.clock.now;
  rig.wait.Pause(std::chrono::duration<double>(1));
  EXPECT_GE(rig.clock.now - start, std::chrono::seconds(1));
  EXPECT_THAT(rig.contact_list.entries, ElementsAre("a@x")) << "the click ran inside the wait";
}

TEST(EventWait, UntilAsksFirstThenEveryPollAndGivesUpAtTheLimit) {
  Rig rig;
  int asked = 0;
  EXPECT_TRUE(rig.wait.Until(std::chrono::milliseconds(100), [&] { return ++asked == 1; }));
  EXPECT_EQ(asked, 1) << "a condition that holds at once needs no wait";
  EXPECT_THAT(rig.log.calls, IsEmpty());

  asked = 0;
  const Clock::TimePoint start = rig.clock.now;
  EXPECT_FALSE(rig.wait.Until(std::chrono::milliseconds(100), [&] { return ++asked > 99; }));
  EXPECT_EQ(rig.clock.now - start, std::chrono::milliseconds(100));
  EXPECT_EQ(asked, 6) << "at the start, after each of five polls of 20 ms";

  asked = 0;
  rig.pump.queued.push_back([&] { asked = 10; });
  EXPECT_TRUE(rig.wait.Until(std::chrono::milliseconds(100), [&] { return ++asked > 10; }))
      << "an event handled during the wait can end it";
}

}  // namespace
}  // namespace plumwick::testing
