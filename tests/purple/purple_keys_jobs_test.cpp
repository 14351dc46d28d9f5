// The Pidgin client's hold on the jobs it finishes with typed keys, against a stand-in Pidgin on a
// private session bus. Keys go into a conversation only while the X server's input focus is really
// in it, whatever the window manager's name for the active window says; the add dialog takes
// exactly the one Enter that should add the contact, only a buddy-added report for that very
// contact confirms it, and without one the job fails instead of passing for done; likewise the
// Enter that sends a message waits for Pidgin's report that it sent the message to that contact,
// and a message Pidgin or the server reports refused fails the job. A real Pidgin gets there only
// when its windows race for the focus or a key goes astray, which a test cannot bring about on cue.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "clients/purple/qt/add_contact_job.h"
#include "clients/purple/qt/conversation_job.h"
#include "clients/purple/qt/draft_probe.h"
#include "clients/purple/qt/purple_messenger.h"
#include "clients/purple/qt/sent_confirmation.h"
#include "messenger/client_typing.h"
#include "platform/failure.h"
#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/session_bus.h"

namespace plumwick::purple {
namespace {

using std::chrono::milliseconds;

constexpr std::uint64_t kDialog = 0x3c00011;
constexpr std::uint64_t kBuddyList = 0x3c00005;
constexpr std::uint64_t kConversation = 0x3c00020;
constexpr int kAskedFor = 42;  // the stand-in's buddy handle for the address asked for
constexpr int kAccount = 7;    // the stand-in's one account

// A method of the stand-in's own.
void CallStandIn(const char* method, const QVariantList& arguments) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kObject),
                                     QString::fromLatin1(kInterface), QString::fromLatin1(method));
  call.setArguments(arguments);
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
}

// The keys as the stand-in's entry takes them: one character or one "{KEY}" each.
QStringList EntryKeys(const KeySequence& keys) {
  QStringList out;
  for (const KeyToken& token : keys) {
    if (const auto* text = std::get_if<KeyText>(&token)) {
      for (const char32_t c : *text) out << QString::fromUcs4(&c, 1);
    } else {
      out << QString::fromStdString(FormatKeyNotation({token}));
    }
  }
  return out;
}

// The window manager, keyboard focus and keyboard of a desktop where Pidgin's newest window is
// the dialog, which has the focus. The window manager's name for the focused window and the X
// server's input focus are set apart, as they are apart for a moment when the focus moves.
class PidginDesktop final : public WindowManager, public FocusedWindow, public Keystrokes {
 public:
  // The first look is before the request: the dialog is there from the next one on.
  std::vector<std::uint64_t> WindowsOf(std::int64_t) override {
    if (std::exchange(dialog_open, true)) return {kBuddyList, kDialog};
    return {kBuddyList};
  }
  bool TakenOn(std::uint64_t window) override {
    return window != kDialog || --looks_until_taken_on <= 0;
  }
  void Activate(std::uint64_t window) override {
    if (window == kDialog && looks_until_taken_on > 0) ++activated_too_early;
  }
  bool HasInputFocus(std::uint64_t window) override { return window == input_focus; }
  bool OnDisplay(std::int64_t) override { return true; }
  DesktopWindow Focused() override { return {active, pidgin}; }
  // Pidgin switches tabs on Ctrl+Page Down as it handles the key.
  TypedKeys Type(const KeySequence& keys, std::uint64_t /*window*/) override {
    typed.push_back(FormatKeyNotation(keys));
    if (typed.back() == "{CTRL+PGDN}") CallStandIn("NextTab", {});
    CallStandIn("TypeKeys", {EntryKeys(keys), handled_after});
    return {KeyCount(keys), TypedKeys::Stop::kDone};
  }
  TypedKeys Type(const KeySequence& keys) { return Type(keys, kDialog); }
  std::string Untypable(const KeySequence&) override { return {}; }
  void AskReadReceipt(std::uint64_t) override {}
  bool ReadReceiptCame() override { return true; }
  std::vector<std::string> HeldKeys(const KeySequence&) override { return {}; }
  std::string Blocked() override { return {}; }
  bool TakeTurn() override { return true; }
  bool Borrowed() const override { return false; }
  void EndJob() noexcept override {}

  bool dialog_open = false;
  // The dialog is listed at once, and the window manager is done taking it on after that many
  // looks.
  int looks_until_taken_on = 0;
  int activated_too_early = 0;
  std::uint64_t active = kDialog;
  std::uint64_t input_focus = kDialog;
  std::int64_t pidgin = 0;
  std::vector<std::string> typed;
  // After how many more calls the stand-in handles the keys typed into its entry (-1: never).
  int handled_after = 0;
};

void EmitBuddyAdded(int buddy) {
  CallStandIn("EmitBuddyAdded", {buddy});
}

void EmitSentImMsg(int account, const char* receiver, const char* message) {
  CallStandIn("EmitSentImMsg", {account, QString::fromUtf8(receiver), QString::fromUtf8(message)});
}

// Any report of Pidgin's, with its arguments as D-Bus sends them.
void Emit(const char* signal, const QVariantList& arguments) {
  CallStandIn("Emit", QVariantList{QString::fromLatin1(signal)} + arguments);
}

std::int64_t stand_in_pid = 0;

// The jobs' waits on a clock of the test's: each batch of events gives the bus a moment of real
// time to bring in the stand-in's reports, handles them, and moves the clock on by a poll at most,
// so that a job's seconds of waiting pass in a fraction of the time, the same every run.
class StandInTime final : public Clock, public EventPump {
 public:
  TimePoint Now() const override { return now_; }
  void ProcessEventsUntil(TimePoint deadline) override {
    // Qt's bus connection reads a report in its own thread, and may do so after the answer to the
    // call that made it.
    std::this_thread::sleep_for(milliseconds(2));
    QCoreApplication::processEvents();
    now_ = std::max(now_, std::min(deadline, now_ + EventWait::kPoll));
    if (on_tick) on_tick(now_);
  }
  std::function<void(TimePoint)> on_tick;  // what happens as the clock moves, in a test's script

 private:
  TimePoint now_{std::chrono::hours(1000)};
};

class PidginJobTest : public ::testing::Test {
 protected:
  PidginJobTest() { desktop_.pidgin = stand_in_pid; }

  // One look at the focus as the program's typing makes it: the job prepares, is asked, and hears
  // of the keys when they go in, after the steps of its own, each of those confirmed.
  bool Owns(std::uint64_t window, const std::string& keys = "{ENTER}") {
    const DesktopWindow focused{window, stand_in_pid};
    job_->PrepareForKeys(focused);
    if (!job_->TakesKeys(focused)) return false;
    // Asked until it has none, as the guard asks; a job that never says none fails here.
    int rounds = 0;
    for (KeySequence own = job_->OwnKeys(true); !own.empty(); own = job_->OwnKeys(true)) {
      if (++rounds > 3) throw std::runtime_error("the job asks for its own keys without end");
      desktop_.Type(own);
      job_->KeysTyped(focused, own);
      job_->AwaitConfirmation();
    }
    job_->KeysTyped(focused, ParseKeyNotation(keys));
    return true;
  }
  // The same, and then the job's confirmation of the keys, as the guard runs it after them.
  bool Confirms(std::uint64_t window, const std::string& keys = "{ENTER}") {
    if (!Owns(window, keys)) return false;
    job_->AwaitConfirmation();
    return true;
  }

  AddContactJob& add_job() { return dynamic_cast<AddContactJob&>(*job_); }

  // The focus guard's question before a key, asked as it asks it: every 20 ms for up to 3 s.
  bool GuardLetsThrough(std::uint64_t window, const std::string& keys = "{ENTER}") {
    return e2e::WaitUntil(
        [&] {
          time_.ProcessEventsUntil(time_.Now() + milliseconds(20));
          return Owns(window, keys);
        },
        std::chrono::seconds(3), milliseconds(0));
  }

  PidginDesktop desktop_;
  StandInTime time_;
  EventWait wait_{time_, time_};
  std::unique_ptr<PurpleMessenger> messenger_ = std::make_unique<PurpleMessenger>(
      ClientDesktop{.wait = wait_, .focus = desktop_, .windows = desktop_});
  std::unique_ptr<messenger::TypingJob> job_;  // the job the last request started
};

TEST_F(PidginJobTest, KeysGoIntoTheConversationOnlyWhileTheInputFocusIsInIt) {
  desktop_.active = desktop_.input_focus = kConversation;
  job_ = messenger_->InstantMessage("alice@localhost");
  EXPECT_TRUE(Owns(kConversation));
  // Pidgin's buddy list takes the focus; the window manager has not caught up yet.
  desktop_.input_focus = kBuddyList;
  EXPECT_FALSE(Owns(kConversation)) << "the keys would land in the buddy list";
  desktop_.active = kBuddyList;
  EXPECT_FALSE(Owns(kBuddyList)) << "no other window of Pidgin's takes keys meant for it";
  desktop_.active = desktop_.input_focus = kConversation;
  EXPECT_TRUE(Owns(kConversation));
}

TEST_F(PidginJobTest, TheDialogIsActivatedAndTypedIntoOnlyOnceTheWindowManagerTookItOn) {
  desktop_.looks_until_taken_on = 3;
  job_ = messenger_->AddContact(0, "zoe@localhost");
  EXPECT_TRUE(desktop_.typed.empty()) << "keys go only through the focus guard";
  EXPECT_TRUE(Owns(kDialog));
  EXPECT_EQ(desktop_.activated_too_early, 0) << "the window manager could undo the activation";
  EXPECT_EQ(desktop_.typed, std::vector<std::string>{"{UP}"});
}

class PurpleAddContactTest : public PidginJobTest {
 protected:
  PurpleAddContactTest() { job_ = messenger_->AddContact(0, "zoe@localhost"); }
};

TEST_F(PurpleAddContactTest, TheDialogTakesOneEnterAndTheNoticeOfThatContactTheNext) {
  ASSERT_TRUE(Owns(kDialog)) << "the Enter that adds";
  EXPECT_EQ(desktop_.typed, std::vector<std::string>{"{UP}"}) << "from the alias to the address";
  EXPECT_FALSE(Owns(kDialog)) << "a second key would land in the dialog";
  EXPECT_FALSE(Owns(kBuddyList));

  EmitBuddyAdded(kAskedFor + 1);  // another contact, added some other way
  EmitBuddyAdded(kAskedFor);
  ASSERT_TRUE(e2e::WaitUntil(
      [&] {
        time_.ProcessEventsUntil(time_.Now() + milliseconds(20));
        return add_job().notice().Showing();
      },
      std::chrono::seconds(3), milliseconds(0)));
  const auto notice = static_cast<std::uint64_t>(add_job().notice().notice().winId());
  EXPECT_EQ(add_job().notice().notice().Message(), "zoe@localhost was added to your contacts.");
  EXPECT_NO_THROW(job_->AwaitConfirmation());
  EXPECT_EQ(add_job().step(), AddContactJob::Step::kDismissNotice);
  EXPECT_TRUE(GuardLetsThrough(notice));
  EXPECT_FALSE(Owns(kDialog));
}

TEST_F(PurpleAddContactTest, ANoticeBeforeTheFirstKeyGetsOneUpAndTheEnter) {
  EmitBuddyAdded(kAskedFor);  // added from elsewhere before the program's first key
  ASSERT_TRUE(e2e::WaitUntil(
      [&] {
        time_.ProcessEventsUntil(time_.Now() + milliseconds(20));
        return add_job().notice().Showing();
      },
      std::chrono::seconds(3), milliseconds(0)));
  EXPECT_TRUE(GuardLetsThrough(static_cast<std::uint64_t>(add_job().notice().notice().winId())));
  EXPECT_EQ(desktop_.typed, std::vector<std::string>{"{UP}"});
}

TEST_F(PurpleAddContactTest, ANoticeTheUserClosedEarlyComesBackForTheProgramsEnter) {
  ASSERT_TRUE(Owns(kDialog));
  EmitBuddyAdded(kAskedFor);
  clients::Notice& notice = add_job().notice().notice();
  ASSERT_TRUE(e2e::WaitUntil(
      [&] {
        time_.ProcessEventsUntil(time_.Now() + milliseconds(20));
        return notice.isVisible();
      },
      std::chrono::seconds(3), milliseconds(0)));
  notice.close();  // the user was quicker than the program's pause
  // The contact was added: the Enter that follows finds the notice, not a failure.
  EXPECT_TRUE(GuardLetsThrough(static_cast<std::uint64_t>(notice.winId())));
  EXPECT_EQ(notice.Message(), "zoe@localhost was added to your contacts.");
}

TEST_F(PurpleAddContactTest, AnEnterThatAddedNobodyFailsTheJobInsteadOfPassingForDone) {
  ASSERT_TRUE(Owns(kDialog));
  EmitBuddyAdded(kAskedFor + 1);  // someone else: confirms nothing
  try {
    job_->AwaitConfirmation();
    ADD_FAILURE() << "the Enter passed for done with no contact added";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kClientError);
    EXPECT_NE(failure.description().find("Pidgin did not add \"zoe@localhost\""), std::string::npos)
        << failure.description();
  }
  EXPECT_FALSE(add_job().notice().Showing());
  // The job is over: a new one starts afresh.
  desktop_.typed.clear();
  desktop_.dialog_open = false;  // the user closed it
  job_ = messenger_->AddContact(0, "zoe@localhost");
  EXPECT_TRUE(Owns(kDialog));
  EXPECT_EQ(desktop_.typed, std::vector<std::string>{"{UP}"});
}

// Send Msg.: the conversation takes the text, then the Enter that sends it, which waits for
// Pidgin's report.
class PurpleSendMessageTest : public PidginJobTest {
 protected:
  PurpleSendMessageTest() {
    desktop_.active = desktop_.input_focus = kConversation;
    job_ = messenger_->InstantMessage("alice@localhost");
  }
};

TEST_F(PurpleSendMessageTest, TheEnterThatSendsWaitsForPidginsReportOfTheMessageSentToTheContact) {
  ASSERT_TRUE(Owns(kConversation, "fish & chips <3  \"now\"")) << "the text";
  EmitSentImMsg(kAccount + 1, "alice@localhost", "on another account");
  EmitSentImMsg(kAccount, "bob@localhost", "to someone else");
  EmitSentImMsg(kAccount, "Alice@localhost/laptop", "fish &amp; chips &lt;3  &quot;now&quot;");
  ASSERT_TRUE(Confirms(kConversation)) << "the Enter that sends it";
  EXPECT_EQ(dynamic_cast<ConversationJob&>(*job_).sent_messages(),
            std::vector<std::string>{"fish & chips <3  \"now\""});
  EXPECT_TRUE(Owns(kConversation)) << "the second Enter";
}

TEST_F(PurpleSendMessageTest, AnEmptyMessageBoxSendsNothingAndTheSecondEnterDoesNotWait) {
  ASSERT_TRUE(Owns(kConversation, ""));
  ASSERT_TRUE(Owns(kConversation));
  EXPECT_TRUE(Owns(kConversation));
}

// Pidgin's focused window shows another conversation's tab in front of the job's: the job brings
// its tab forward with Ctrl+Page Down through the guard, a press at a time, and the message goes in
// only then. A window without the job's tab gets a press per conversation and one more, then an
// error, and nothing else.
TEST_F(PidginJobTest, ATabBehindOthersComesForwardByCtrlPageDownBeforeAnyOtherKey) {
  desktop_.active = desktop_.input_focus = kConversation;
  messenger::ClientTyping typing(desktop_, desktop_, wait_);
  CallStandIn("ShowTabs", {78, QVariant::fromValue(QList<int>{78, 79, 77})});
  job_ = messenger_->InstantMessage("alice@localhost");
  typing.Prepare(*job_);
  typing.Type(*job_, ParseKeyNotation("hi"));
  EXPECT_EQ(desktop_.typed, (std::vector<std::string>{"{CTRL+PGDN}", "{CTRL+PGDN}", "hi"}));

  desktop_.typed.clear();
  CallStandIn("ShowTabs", {78, QVariant::fromValue(QList<int>{78, 79})});
  job_ = messenger_->InstantMessage("alice@localhost");
  try {
    typing.BringForward(*job_);
    ADD_FAILURE() << "brought forward";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kFocus);
    EXPECT_TRUE(failure.description().starts_with(
        "Pidgin's conversation with \"alice@localhost\" did not come forward: 4 presses"))
        << failure.description();
  }
  EXPECT_EQ(desktop_.typed, std::vector<std::string>(4, "{CTRL+PGDN}"));
  CallStandIn("ShowTabs", {77, QVariant::fromValue(QList<int>{77})});
}

// Fails the job's Enter and returns the error's description; empty when it was let through.
std::string EnterFailure(const std::function<bool()>& enter) {
  try {
    enter();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kClientError);
    return failure.description();
  }
  return {};
}

TEST_F(PurpleSendMessageTest, NoReportOrAnotherTextFailsTheEnterInsteadOfPassingForDone) {
  ASSERT_TRUE(Owns(kConversation, "héllo"));
  EmitSentImMsg(kAccount, "bob@localhost", "to someone else");
  const std::string no_report = EnterFailure([&] { return Confirms(kConversation); });
  EXPECT_TRUE(
      no_report.starts_with("Pidgin did not send the message to \"alice@localhost\": it stopped "
                            "working "))
      << no_report;

  // A key lost on the way: Pidgin sent what it got.
  job_ = messenger_->InstantMessage("alice@localhost");
  ASSERT_TRUE(Owns(kConversation, "héllo"));
  EmitSentImMsg(kAccount, "alice@localhost", "hllo");
  EXPECT_EQ(EnterFailure([&] { return Confirms(kConversation); }),
            "Pidgin sent \"hllo\" to \"alice@localhost\", not the message typed, \"héllo\": a key "
            "was lost on the way, or the conversation already held some text");

  // The job is over: the next one starts afresh.
  job_ = messenger_->InstantMessage("alice@localhost");
  EXPECT_TRUE(Owns(kConversation));
}

// The server sends back the stanza with the message (an address no one has): only that stanza's
// bounce counts, not one of a typing notification. Pidgin writes its own refusals into the
// conversation as errors, and reports no message sent then.
TEST_F(PurpleSendMessageTest, AMessageSentBackOrWrittenAsAnErrorFailsTheEnterWithTheReason) {
  constexpr int kConnection = 233;
  constexpr int kStandInConversation = 77;
  const auto bounce = [&](const char* id) {
    Emit("JabberReceivingMessage",
         {kConnection, QStringLiteral("error"), QString::fromLatin1(id),
          QStringLiteral("alice@localhost"), QStringLiteral("plum@localhost"), 0});
  };
  ASSERT_TRUE(Owns(kConversation, "hi"));
  Emit("JabberSendingText",
       {kConnection, QStringLiteral("<message type='chat' id='p1' to='alice@localhost'>"
                                    "<composing/></message>")});
  bounce("p1");
  Emit("JabberSendingText",
       {kConnection, QStringLiteral("<message type='chat' id='p2' to='alice@localhost'>"
                                    "<body>hi</body></message>")});
  EmitSentImMsg(kAccount, "alice@localhost", "hi");
  bounce("p2");
  const std::string bounced = EnterFailure([&] { return Confirms(kConversation); });
  EXPECT_TRUE(
      bounced.starts_with("The message to \"alice@localhost\" was not delivered: the "
                          "server of \"alice@localhost\" sent the message back"))
      << bounced;

  job_ = messenger_->InstantMessage("alice@localhost");
  ASSERT_TRUE(Owns(kConversation, "hi"));
  Emit("WroteImMsg", {kAccount, QStringLiteral("alice@localhost"), QStringLiteral("hi"),
                      kStandInConversation, QVariant::fromValue<uint>(0x0001)});
  Emit("WroteImMsg", {kAccount, QStringLiteral("alice@localhost"),
                      QStringLiteral("Unable to send message: The message is too large."),
                      kStandInConversation, QVariant::fromValue<uint>(0x0200)});
  EXPECT_EQ(EnterFailure([&] { return Confirms(kConversation); }),
            "The message to \"alice@localhost\" was not delivered: Pidgin reported: Unable to "
            "send message: The message is too large.");
}

// The draft check while Pidgin sends typing notifications: whenever Pidgin gets to the check's
// space and Backspace between the check's calls, an empty entry is found empty and one with text
// is found holding it; a Pidgin that never gets to them fails the check. Pidgin's "type again"
// time is left as it was wherever Pidgin did not set it anew itself.
TEST_F(PidginJobTest, TheDraftCheckSeesTheEntryWheneverPidginHandlesItsKeys) {
  struct Row {
    const char* entry;
    int handled_after;  // calls; -1: never
    bool found;
  };
  const Row rows[] = {{"", 0, false},        {"", 1, false},       {"", 2, false},
                      {"", 3, false},        {"keep me", 0, true}, {"keep me", 1, true},
                      {"keep me", 2, true},  {"keep me", 3, true}, {"", -1, false},
                      {"keep me", -1, false}};
  PurpleBus bus;
  constexpr int kIm = 177;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("entry \"") + row.entry + "\", keys handled after " +
                 std::to_string(row.handled_after) + " calls");
    CallStandIn("SetEntry", {QString::fromUtf8(row.entry)});
    CallStandIn("PurpleConvImSetTypeAgain", {kIm, QVariant::fromValue<uint>(30)});
    const std::int32_t type_again = bus.CallInt("PurpleConvImGetTypeAgain", {kIm});
    desktop_.handled_after = row.handled_after;
    bool seen = true;
    DraftProbe probe(bus, 77);
    try {
      for (KeySequence keys = probe.Keys(); !keys.empty(); keys = probe.Keys()) {
        desktop_.Type(keys);
        probe.Typed(wait_, milliseconds(2000));
      }
    } catch (const Failure& failure) {
      seen = false;
      EXPECT_TRUE(failure.description().starts_with(
          "Pidgin's conversation did not react to a key as it does"))
          << failure.description();
    }
    EXPECT_EQ(seen, row.handled_after >= 0);
    EXPECT_EQ(probe.found(), row.found);
    const std::int32_t after = bus.CallInt("PurpleConvImGetTypeAgain", {kIm});
    if (seen && !row.found) {
      EXPECT_EQ(after, 0) << "Pidgin's own, set as it announced typing";
    } else {
      EXPECT_NEAR(after, type_again, 1) << "Pidgin's time as the check found it";
    }
  }
  desktop_.handled_after = 0;
  CallStandIn("SetEntry", {QString()});
}

// Pidgin reports a message once it has handled every key typed for it: a long word keeps it busy
// for tens of seconds. The wait lasts while Pidgin works, and fails once it has stopped without
// the report, or has quit.
TEST_F(PidginJobTest, TheSentMessageIsAwaitedWhilePidginWorksAndFailsOnceItStopsOrQuits) {
  struct Row {
    const char* name;
    int busy_ms;        // Pidgin works flat out this long after the Enter
    int report_ms;      // and reports the message then; -1: never
    int quit_ms;        // and quits then; -1: never
    int stopped_ms;     // Pidgin stopped by a signal until then; 0: not
    const char* error;  // the failure's start; empty: confirmed
  };
  const Row rows[] = {
      {"a short message", 0, 300, -1, 0, ""},
      {"3,000 letters without a space", 39600, 39600, -1, 0, ""},
      {"stopped by a signal for 6 s", 0, 6500, -1, 6000, ""},
      {"no report", 0, -1, -1, 0,
       "Pidgin did not send the message to \"alice@localhost\": it stopped working 2.5 seconds "
       "after the Enter"},
      {"no report after 10 s of work", 10000, -1, -1, 0,
       "Pidgin did not send the message to \"alice@localhost\": it stopped working 12."},
      {"Pidgin quits while it works", 10000, -1, 4000, 0,
       "Pidgin quit before it sent the message to \"alice@localhost\", so the message was not "
       "sent"},
  };
  PurpleBus bus;
  const std::string letters(3000, 'a');
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Clock::TimePoint start = time_.Now();
    const auto since = [&](Clock::TimePoint now) {
      return std::chrono::duration_cast<milliseconds>(now - start).count();
    };
    const ActivityOf activity = [&](std::int64_t) -> std::optional<ProcessActivity> {
      const auto at = since(time_.Now());
      if (row.quit_ms >= 0 && at >= row.quit_ms) return std::nullopt;
      return ProcessActivity{.cpu = milliseconds(std::min<long long>(at, row.busy_ms)),
                             .stopped = at < row.stopped_ms};
    };
    bool reported = false;
    time_.on_tick = [&](Clock::TimePoint now) {
      if (row.report_ms < 0 || reported || since(now) < row.report_ms) return;
      reported = true;
      EmitSentImMsg(kAccount, "alice@localhost", letters.c_str());
    };
    SentConfirmation confirmation(bus, ClientDesktop{wait_, desktop_, desktop_}, kAccount, 77,
                                  "alice@localhost", activity);
    confirmation.Typed(ParseKeyNotation(letters + "{ENTER}"));
    std::string error;
    try {
      confirmation.Await();
    } catch (const Failure& failure) {
      error = failure.description();
    }
    time_.on_tick = nullptr;
    EXPECT_TRUE(error.starts_with(row.error)) << error;
    EXPECT_EQ(error.empty(), *row.error == '\0') << error;
    EXPECT_EQ(confirmation.AllConfirmed(), *row.error == '\0');
  }
}

// The user closes the conversation during the job: before the message was sent, the job says so
// and that the message was not sent; after Pidgin reported it sent, the job is done and types
// nothing more.
TEST_F(PurpleSendMessageTest, AConversationClosedDuringTheJobIsToldAsTheUserSeesIt) {
  ASSERT_TRUE(Owns(kConversation, "hi"));
  CallStandIn("Close", {});
  try {
    Owns(kConversation);
    ADD_FAILURE() << "the Enter went into a closed conversation";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.description(),
              "The conversation with \"alice@localhost\" was closed in Pidgin before the message "
              "was sent, so it was not sent (the text typed into its conversation went with it)");
  }

  job_ = messenger_->InstantMessage("alice@localhost");
  ASSERT_TRUE(Owns(kConversation, "hi"));
  EmitSentImMsg(kAccount, "alice@localhost", "hi");
  ASSERT_TRUE(Confirms(kConversation));
  EXPECT_FALSE(job_->Finished()) << "the conversation is still open";
  CallStandIn("Close", {});
  EXPECT_TRUE(job_->Finished()) << "the second Enter has nowhere to go and nothing to do";
}

}  // namespace
}  // namespace plumwick::purple

// A private session bus with the stand-in Pidgin on it, in place before Qt first looks for a bus.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<plumwick::e2e::PrivateDir> dir;
  std::unique_ptr<plumwick::e2e::SessionBus> bus;
  std::unique_ptr<plumwick::e2e::ChildProcess> pidgin;
  if (!testing::GTEST_FLAG(list_tests)) {
    const plumwick::e2e::Environment env{{"PATH", std::getenv("PATH")}};
    dir = std::make_unique<plumwick::e2e::PrivateDir>();
    bus = std::make_unique<plumwick::e2e::SessionBus>(dir->Path(), env);
    setenv("DBUS_SESSION_BUS_ADDRESS", bus->Address().c_str(), 1);
    pidgin = std::make_unique<plumwick::e2e::ChildProcess>(
        plumwick::e2e::ProcessOptions{.argv = {PLUMWICK_FAKE_PIDGIN}, .env = bus->On(env)});
    plumwick::purple::stand_in_pid = pidgin->Pid();
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  if (pidgin) {
    const bool up = plumwick::e2e::WaitUntil(
        [] {
          return QDBusConnection::sessionBus().interface()->isServiceRegistered(
              QString::fromLatin1(plumwick::purple::kService));
        },
        std::chrono::seconds(10));
    if (!up) {
      std::fprintf(stderr, "the stand-in Pidgin did not come up\n%s\n", pidgin->Describe().c_str());
      return 1;
    }
  }
  return RUN_ALL_TESTS();
}
