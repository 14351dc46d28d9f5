// The Gajim client against a stand-in Gajim on a private session bus, for what a real Gajim
// cannot be made to do on cue: a status that does not stick, a call it never answers, a remote
// object that comes late or not at all, a Gajim that quits in the middle of a call; a message Gajim
// sends without reporting it, reports with another text, refuses or never answers; a contact it
// keeps after its Remove Contact window was answered or cancelled.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "clients/gajim/process_age.h"
#include "clients/gajim/qt/gajim_add_contact_job.h"
#include "clients/gajim/qt/gajim_bus.h"
#include "clients/gajim/qt/gajim_chat_job.h"
#include "clients/gajim/qt/gajim_messenger.h"
#include "clients/gajim/qt/gajim_profile_job.h"
#include "clients/gajim/qt/gajim_remove_contact_job.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"
#include "platform/failure.h"
#include "platform/posix/steady_clock.h"
#include "platform/qt/qt_event_pump.h"
#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/session_bus.h"

namespace plumwick::gajim {

// The stand-in's process; started again by the test that makes it quit.
void StartStandIn();
std::int64_t StandInPid();

namespace {

using std::chrono::milliseconds;
namespace status = messenger::status;

// One of the stand-in's cues (fake_gajim_main.cpp).
QVariantList Cue(const char* cue, const QVariantList& args = {}) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(QString::fromLatin1(kService), QStringLiteral("/StandIn"),
                                     QStringLiteral("org.StandIn"), QString::fromLatin1(cue));
  call.setArguments(args);
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  return reply.arguments();
}

constexpr std::uint64_t kMainWindow = 0x2a00004;
constexpr std::uint64_t kAddContactWindow = 0x2a00100;
constexpr std::uint64_t kRemoveContactWindow = 0x2a00200;
constexpr std::uint64_t kProfileWindow = 0x2a00300;

// The desktop around the stand-in: the window that has the focus (by default Gajim's main window,
// also by the X server's input focus) and the windows it lists for Gajim, its main window first,
// its Add Contact window once the stand-in was asked for it, its Remove Contact window once asked
// for until a test closes it, and its Profile window once asked for (or from the start) until it
// closed.
class StandInDesktop final : public FocusedWindow, public WindowManager {
 public:
  DesktopWindow Focused() override { return focused; }
  std::vector<std::uint64_t> WindowsOf(std::int64_t pid) override {
    if (pid != StandInPid()) return {};
    std::vector<std::uint64_t> windows{kMainWindow};
    bool profile = profile_from_start;
    for (const QString& action : Cue("Activations").value(0).toStringList()) {
      if (action.startsWith(QLatin1String("add-contact "))) windows.push_back(kAddContactWindow);
      if (action.contains(QLatin1String("-remove-contact ")) && !removal_closed) {
        windows.push_back(kRemoveContactWindow);
      }
      profile = profile || action.contains(QLatin1String("-profile "));
    }
    if (profile && !profile_closed) windows.push_back(kProfileWindow);
    return windows;
  }
  bool TakenOn(std::uint64_t /*window*/) override { return true; }
  void Activate(std::uint64_t window) override { activated.push_back(window); }
  bool HasInputFocus(std::uint64_t window) override { return window == input_focus; }
  bool OnDisplay(std::int64_t pid) override { return pid == StandInPid() && gajim_on_display; }

  bool gajim_on_display = true;
  DesktopWindow focused{kMainWindow, StandInPid(), kMainWindowTitle, "gajim"};
  std::uint64_t input_focus = kMainWindow;
  bool removal_closed = false;
  bool profile_from_start = false;
  bool profile_closed = false;
  std::vector<std::uint64_t> activated;
  SteadyClock clock;
  QtEventPump pump;
  EventWait wait{clock, pump};
  ClientDesktop parts{wait, *this, *this};
};

// The failure `action` throws; an empty one, and a test failure, when it throws none.
Failure FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure;
  }
  ADD_FAILURE() << "no failure";
  return Failure(0, "");
}

class GajimClientTest : public ::testing::Test {
 protected:
  GajimClientTest() {
    Cue("Reset");
    client_ = std::make_unique<GajimMessenger>(desktop_.parts);
  }

  // Sends the message through the chat's job as the focus guard drives it: the message's empty
  // step typed into the focused window, then its confirmation.
  void Send(messenger::TypingJob& chat, const KeySequence& text) {
    ASSERT_TRUE(chat.SendsText(text));
    chat.PrepareForKeys(desktop_.focused);
    ASSERT_TRUE(chat.TakesKeys(desktop_.focused));
    chat.KeysTyped(desktop_.focused, {});
    chat.AwaitConfirmation();
  }

  // One step of keys into `window` as the focus guard types it: once the window takes them, they
  // go in and are confirmed.
  static void Typed(messenger::TypingJob& job, const DesktopWindow& window,
                    const KeySequence& keys) {
    job.PrepareForKeys(window);
    ASSERT_TRUE(job.TakesKeys(window)) << FormatKeyNotation(keys);
    job.KeysTyped(window, keys);
    job.AwaitConfirmation();
  }
  // The Profile window's job through its own steps and the name, its window with the focus.
  void UpToSave(GajimProfileJob& job) {
    desktop_.input_focus = kProfileWindow;
    desktop_.wait.Pause(std::chrono::seconds(1));  // the profile read from the server
    for (KeySequence keys = job.OwnKeys(true); !keys.empty(); keys = job.OwnKeys(true)) {
      Typed(job, profile_, keys);
    }
    Typed(job, profile_, {KeyText(U"Nick")});
  }

  // The list as a walk reads it: each contact's row and status.
  std::vector<std::pair<std::string, std::int32_t>> Listed() {
    std::vector<std::pair<std::string, std::int32_t>> listed;
    const auto walk = client_->MyContacts()->Enumerate();
    while (const auto contact = walk->Next()) {
      listed.emplace_back(contact->SigninName(), contact->Status());
    }
    return listed;
  }
  QString Show(const char* account) {
    return bus_.CallString("get_status", {QString::fromLatin1(account)});
  }

  StandInDesktop desktop_;
  GajimBus bus_;
  std::unique_ptr<GajimMessenger> client_;
  const DesktopWindow profile_{kProfileWindow, StandInPid(), kProfileTitle, "gajim"};
};

TEST_F(GajimClientTest, EachStatusPickIsSetOnEveryAccountKeepingItsMessage) {
  const std::pair<std::int32_t, const char*> rows[] = {
      {status::kBusy, "dnd"}, {status::kAway, "away"}, {status::kOnline, "online"}};
  for (const auto& [code, show] : rows) {
    client_->MyStatus(code);
    EXPECT_EQ(Show("home"), QString::fromLatin1(show)) << code;
    EXPECT_EQ(Show("work"), QString::fromLatin1(show)) << code;
    EXPECT_EQ(bus_.CallString("get_status_message", {"home"}), "at my desk");
  }
  EXPECT_EQ(FailureOf([&] { client_->MyStatus(status::kOffline); }).code(),
            error_code::kBadArgument);
}

TEST_F(GajimClientTest, AStatusGajimDoesNotKeepIsReportedWithGajimsAnswer) {
  Cue("KeepStatus", {"work", "online"});
  const Failure failure = FailureOf([&] { client_->MyStatus(status::kBusy); });
  EXPECT_EQ(failure.code(), error_code::kClientError);
  EXPECT_EQ(failure.description(),
            "Gajim did not set the status \"dnd\" for the account \"work\": it says \"online\"");
}

TEST_F(GajimClientTest, TheListHasEveryAccountsContactsWithTheirShowsAsStatuses) {
  using Rows = std::vector<std::pair<std::string, std::int32_t>>;
  // Bob is there on both accounts: each row names its account.
  EXPECT_EQ(Listed(), (Rows{{"alice@home.example", status::kOnline},
                            {"bob@example.org (on me@home.example)", status::kAway},
                            {"carol@example.org", status::kOffline},
                            {"dan@example.org", status::kOnline},
                            {"bob@example.org (on me@work.example)", status::kBusy},
                            {"erin@work.example", status::kAway},
                            {"fay@work.example", status::kOffline}}));
  // Offline on one of them, he is one plain row again.
  bus_.CallBool("change_status", {"offline", "", "work"});
  ASSERT_TRUE(e2e::WaitUntil([&] { return Show("work") == "offline"; }, std::chrono::seconds(2)));
  EXPECT_EQ(Listed().at(1),
            (std::pair<std::string, std::int32_t>{"bob@example.org", status::kAway}));
}

TEST_F(GajimClientTest, AContactIsFoundByItsAddressAsTyped) {
  struct Row {
    const char* typed;
    const char* service;
    std::int32_t code;  // of the failure; 0: found
    const char* name;   // found
    std::int32_t status;
  };
  const Row rows[] = {
      {"ALICE@home.example/phone", "xmpp", 0, "alice@home.example", status::kOnline},
      {"bob@example.org", "xmpp", 0, "bob@example.org", status::kAway},  // the first account's
      {"zoe@example.org", "xmpp", error_code::kUnknownContact, "", 0},
      {"alice@home.example", "prpl-jabber", error_code::kUnknownService, "", 0},
      {"", "xmpp", error_code::kEmptyContact, "", 0},
  };
  EXPECT_EQ(client_->MyServiceId(), "xmpp");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    if (row.code != 0) {
      EXPECT_EQ(FailureOf([&] { client_->GetContact(row.typed, row.service); }).code(), row.code);
      continue;
    }
    const auto contact = client_->GetContact(row.typed, row.service);
    EXPECT_EQ(contact->SigninName(), row.name);
    EXPECT_EQ(contact->Status(), row.status);
  }
}

TEST_F(GajimClientTest, SignOutTakesEveryAccountOfflineAndAStatusPickSignsOnAgain) {
  client_->Signout();
  EXPECT_EQ(Show("home"), "offline");
  EXPECT_EQ(Show("work"), "offline");
  for (const auto& action : std::vector<std::function<void()>>{
           [&] { client_->MyContacts(); },
           [&] { client_->GetContact("alice@home.example", "xmpp"); }}) {
    EXPECT_EQ(FailureOf(action).code(), error_code::kNotSignedIn);
  }
  // Each account reads "connecting" for a while first.
  client_->MyStatus(status::kAway);
  EXPECT_EQ(Show("work"), "away");
  EXPECT_EQ(Listed().size(), 7u);
}

TEST_F(GajimClientTest, ACallGajimNeverAnswersFailsInTimeNamingWhatWasAskedWhileTheWindowPaints) {
  bool painted = false;
  QTimer::singleShot(100, QCoreApplication::instance(), [&] { painted = true; });
  const auto start = std::chrono::steady_clock::now();
  const Failure failure = FailureOf([&] { bus_.CallString("get_status", {"gone"}); });
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2 * kCallTimeout) << "the bus's own timeout";
  EXPECT_EQ(failure.code(), error_code::kNoAnswer);
  EXPECT_TRUE(
      failure.description().starts_with("Gajim did not answer get_status(\"gone\") within 4 s"))
      << failure.description();
  EXPECT_TRUE(painted) << "the window's events waited for the call";
}

TEST_F(GajimClientTest, ActionsReachGajimWithTheirParameter) {
  bus_.Activate(kApplicationObject, QStringLiteral("add-contact"),
                {QStringLiteral("zoe@example.org")});
  bus_.Activate(kApplicationObject, QStringLiteral("show"));
  EXPECT_EQ(Cue("Activations").value(0).toStringList(),
            QStringList({"add-contact zoe@example.org", "show"}));
}

// Refused before anything opens: text Gajim would answer with an error window, and addresses its
// Add Contact window would keep from being added.
TEST_F(GajimClientTest, AnAddressGajimWouldNotAddOpensNothing) {
  const std::tuple<std::int32_t, const char*, std::int32_t, const char*> rows[] = {
      {0, "", error_code::kEmptyContact, "The address of the contact to add is empty"},
      {0, "zoe@@example.org", error_code::kBadArgument,
       "\"zoe@@example.org\" is not an XMPP address: at the 5th character, \"@\" cannot be part of "
       "a server's name"},
      {0, "ALICE@home.example", error_code::kClientError,
       "\"ALICE@home.example\" is already in your contact list"},
      {0, "fay@work.example/desk", error_code::kClientError,
       "\"fay@work.example\" is already in your contact list"},
      {0, "me@work.example", error_code::kClientError,
       "\"me@work.example\" is you: you cannot add yourself to your contact list"},
      {7, "zoe@example.org", error_code::kBadArgument,
       "Window 7 is not one Gajim can open a dialog over: pass 0 for no parent"},
  };
  for (const auto& [window, typed, code, text] : rows) {
    const Failure failure = FailureOf([&] { client_->AddContact(window, typed); });
    EXPECT_EQ(failure.code(), code) << typed;
    EXPECT_EQ(failure.description(), text);
  }
  EXPECT_EQ(Cue("Activations").value(0).toStringList(), QStringList());
}

// A Gajim that is a Wayland program gets no key: the jobs that would type open nothing, and say
// how to start Gajim so that they can; what needs no key goes on.
TEST_F(GajimClientTest, NoJobThatTypesOpensAWindowOfAGajimNotOnTheDisplay) {
  desktop_.gajim_on_display = false;
  for (const auto& open : std::vector<std::function<void()>>{
           [&] { client_->InstantMessage("alice@home.example"); },
           [&] { client_->AddContact(0, "zoe@example.org"); },
           [&] {
             client_->MyContacts()->Remove(*client_->GetContact("alice@home.example", kServiceId));
           }}) {
    const Failure failure = FailureOf(open);
    EXPECT_EQ(failure.code(), error_code::kFocus);
    EXPECT_TRUE(failure.description().ends_with("start it through XWayland: GDK_BACKEND=x11 gajim"))
        << failure.description();
  }
  EXPECT_EQ(Cue("Activations").value(0).toStringList(), QStringList());
  client_->MyStatus(messenger::status::kAway);
}

// Gajim's window opened with the bare address takes the two Returns while it has the focus and
// its title (not while it asks the server about the address); the contact counts as added only
// once Gajim's roster lists it.
TEST_F(GajimClientTest, AddContactTakesTwoReturnsIntoGajimsWindowAndIsConfirmedByTheRoster) {
  using Step = GajimAddContactJob::Step;
  const KeySequence enter = OnePress(NamedKey::kEnter);
  auto job = std::make_unique<GajimAddContactJob>(bus_, desktop_.parts, " zoe@example.org/phone ");
  EXPECT_EQ(Cue("Activations").value(0).toStringList(),
            QStringList({"show", "add-contact zoe@example.org"}));
  const DesktopWindow dialog{kAddContactWindow, StandInPid(), kAddContactTitle, "gajim"};
  EXPECT_FALSE(job->TakesKeys(desktop_.focused));  // the main window
  job->PrepareForKeys(desktop_.focused);
  EXPECT_EQ(desktop_.activated, std::vector<std::uint64_t>{kAddContactWindow});
  EXPECT_FALSE(job->TakesKeys(dialog)) << "without the X server's input focus";
  desktop_.input_focus = kAddContactWindow;
  EXPECT_TRUE(job->TakesKeys(dialog));
  job->KeysTyped(desktop_.focused, enter);
  EXPECT_EQ(job->step(), Step::kPressNext) << "a Return into another window";
  job->KeysTyped(dialog, enter);
  job->AwaitConfirmation();
  EXPECT_EQ(job->step(), Step::kPressAdd);
  EXPECT_FALSE(job->TakesKeys({kAddContactWindow, StandInPid(), "Gathering information…", ""}));
  job->KeysTyped(dialog, enter);
  EXPECT_FALSE(job->TakesKeys(dialog));
  Cue("AddContact", {"home", "zoe@example.org", 300});
  job->AwaitConfirmation();
  EXPECT_TRUE(job->Finished());

  // Not in the roster in time: the job fails saying so.
  Cue("Reset");
  job = std::make_unique<GajimAddContactJob>(bus_, desktop_.parts, "yan@example.org");
  job->KeysTyped(dialog, enter);
  job->KeysTyped(dialog, enter);
  const Failure failure = FailureOf([&] { job->AwaitConfirmation(); });
  EXPECT_EQ(failure.code(), error_code::kClientError);
  EXPECT_TRUE(failure.description().starts_with(
      "Gajim did not add \"yan@example.org\" to your contacts: its roster does not list it"))
      << failure.description();
  EXPECT_FALSE(job->Finished());
}

// Gajim's Remove Contact window, opened on the first account that lists the address, takes the
// job's own Alt+R while it has the focus and its title; the contact counts as removed only once
// that account's roster has lost it.
TEST_F(GajimClientTest, RemoveContactPressesRemoveInGajimsWindowAndIsConfirmedByTheRoster) {
  const KeySequence alt_r = AltPress(U'r');
  const DesktopWindow dialog{kRemoveContactWindow, StandInPid(), kRemoveContactTitle, "gajim"};
  // Bob is on both accounts: he goes from the first.
  auto job = client_->MyContacts()->Remove(*client_->GetContact("BOB@example.org", "xmpp"));
  ASSERT_TRUE(job);
  EXPECT_EQ(Cue("Activations").value(0).toStringList(),
            QStringList({"show", "home-remove-contact bob@example.org"}));
  EXPECT_EQ(job->OwnKeys(false), alt_r);
  EXPECT_FALSE(job->TakesKeys(desktop_.focused));  // the main window
  job->PrepareForKeys(desktop_.focused);
  EXPECT_EQ(desktop_.activated, std::vector<std::uint64_t>{kRemoveContactWindow});
  EXPECT_FALSE(job->TakesKeys(dialog)) << "without the X server's input focus";
  desktop_.input_focus = kRemoveContactWindow;
  EXPECT_TRUE(job->TakesKeys(dialog));
  EXPECT_FALSE(job->TakesKeys({kRemoveContactWindow, StandInPid(), "Remove Transport", "gajim"}));
  job->KeysTyped(desktop_.focused, alt_r);
  EXPECT_EQ(job->OwnKeys(false), alt_r) << "Alt+R into another window";
  job->KeysTyped(dialog, alt_r);
  EXPECT_FALSE(job->TakesKeys(dialog));
  Cue("RemoveContact", {"home", "bob@example.org", 300});
  job->AwaitConfirmation();
  EXPECT_TRUE(job->Finished());
  EXPECT_TRUE(job->OwnKeys(false).empty());
  EXPECT_EQ(client_->GetContact("bob@example.org", "xmpp")->Status(), status::kBusy)
      << "still on the other account";

  // A row of the list goes from the account it names.
  Cue("Reset");
  const auto walk = client_->MyContacts()->Enumerate();
  while (const auto contact = walk->Next()) {
    if (contact->SigninName() == "bob@example.org (on me@work.example)") {
      client_->MyContacts()->Remove(*contact);
    }
  }
  EXPECT_EQ(Cue("Activations").value(0).toStringList().value(1),
            "work-remove-contact bob@example.org");
}

TEST_F(GajimClientTest, ARemovalGajimDoesNotConfirmFailsSayingWhatBecameOfTheContact) {
  struct Row {
    const char* name;
    bool typed;         // Alt+R went into the window; otherwise the window closed
    const char* error;  // how it begins
  };
  const Row rows[] = {
      {"not removed in time", true,
       "\"alice@home.example\" is still in your contact list in Gajim 3 s after Alt+R pressed "
       "Remove in its Remove Contact window"},
      {"cancelled", false,
       "Gajim's Remove Contact window for \"alice@home.example\" closed before Alt+R reached it, "
       "and \"alice@home.example\" is still in your contact list in Gajim: it was not removed"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Cue("Reset");
    desktop_.removal_closed = false;
    GajimRemoveContactJob job(bus_, desktop_.parts, "home", "alice@home.example");
    Failure failure(0, "");
    if (row.typed) {
      job.KeysTyped({kRemoveContactWindow, StandInPid(), kRemoveContactTitle, ""}, AltPress(U'r'));
      failure = FailureOf([&] { job.AwaitConfirmation(); });
    } else {
      desktop_.removal_closed = true;
      failure = FailureOf([&] { job.PrepareForKeys(desktop_.focused); });
    }
    EXPECT_EQ(failure.code(), error_code::kClientError);
    EXPECT_TRUE(failure.description().starts_with(row.error)) << failure.description();
    EXPECT_FALSE(job.Finished());
  }
}

// Gajim would open its window for any address, and remove what it could: an address the account
// does not list, or an account not signed on, opens nothing.
TEST_F(GajimClientTest, ARemovalGajimCouldNotDoOpensNothing) {
  Failure failure =
      FailureOf([&] { GajimRemoveContactJob(bus_, desktop_.parts, "home", "erin@work.example"); });
  EXPECT_EQ(failure.code(), error_code::kUnknownContact);
  EXPECT_EQ(failure.description(),
            "\"erin@work.example\" is not in your contact list, so there is nothing to remove");
  bus_.CallBool("change_status", {"offline", "", "work"});
  ASSERT_TRUE(e2e::WaitUntil([&] { return Show("work") == "offline"; }, std::chrono::seconds(2)));
  failure =
      FailureOf([&] { GajimRemoveContactJob(bus_, desktop_.parts, "work", "erin@work.example"); });
  EXPECT_EQ(failure.code(), error_code::kNotSignedIn);
  EXPECT_EQ(failure.description(),
            "The account \"work\" is not signed on in Gajim, so \"erin@work.example\" cannot be "
            "removed from it");
  EXPECT_EQ(Cue("Activations").value(0).toStringList(), QStringList());
}

// The nickname is set in the Profile window of the first signed-on account; nothing opens for a
// Gajim with none signed on, nor for another window or page than the general one.
TEST_F(GajimClientTest, TheNicknameIsSetInTheProfileWindowOfTheFirstSignedOnAccount) {
  struct Row {
    std::vector<QString> signed_off;
    std::int32_t window, page;
    const char* result;  // the actions activated, or the failure's description
    std::int32_t code;   // of the failure; 0: opened
  };
  const Row rows[] = {
      {{}, 0, 0, "show | home-profile home", 0},
      {{"home"}, 0, 0, "show | work-profile work", 0},
      {{"home", "work"},
       0,
       0,
       "You are signed out: no account is signed on in Gajim (pick a status to sign on)",
       error_code::kNotSignedIn},
      {{},
       7,
       0,
       "Window 7 is not one Gajim can open a dialog over: pass 0 for no parent",
       error_code::kBadArgument},
      {{},
       0,
       3,
       "Options page 3 does not exist: pass 0 for the general page",
       error_code::kBadArgument},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.result);
    Cue("Reset");
    for (const QString& account : row.signed_off) {
      bus_.CallBool("change_status", {"offline", "", account});
      ASSERT_TRUE(
          e2e::WaitUntil([&] { return bus_.CallString("get_status", {account}) == "offline"; },
                         std::chrono::seconds(2)));
    }
    if (row.code == 0) {
      client_->OptionsPages(row.window, row.page);
      EXPECT_EQ(Cue("Activations").value(0).toStringList().join(" | ").toStdString(), row.result);
      continue;
    }
    const Failure failure = FailureOf([&] { client_->OptionsPages(row.window, row.page); });
    EXPECT_EQ(failure.code(), row.code);
    EXPECT_EQ(failure.description(), row.result);
    EXPECT_EQ(Cue("Activations").value(0).toStringList(), QStringList());
  }
}

// The job's own steps go into the Profile window around the program's name: Edit once the window
// has had time to read the profile, the Tabs to the nickname entry, then Save and Escape; once
// the window closed, the program's Enters are not typed.
TEST_F(GajimClientTest, TheProfileWindowTakesEditTabsTheNameSaveAndEscapeThenTheJobIsFinished) {
  using Step = GajimProfileJob::Step;
  GajimProfileJob job(bus_, desktop_.parts);
  EXPECT_FALSE(job.TakesKeys(desktop_.focused));  // the main window
  job.PrepareForKeys(desktop_.focused);
  EXPECT_EQ(desktop_.activated, std::vector<std::uint64_t>{kProfileWindow});
  desktop_.input_focus = kProfileWindow;
  EXPECT_FALSE(job.TakesKeys(profile_)) << "Edit while the profile may not be read yet";
  desktop_.wait.Pause(std::chrono::seconds(1));
  EXPECT_EQ(job.OwnKeys(true), AltPress(U'e'));
  Typed(job, profile_, AltPress(U'e'));
  const KeySequence to_nickname = job.OwnKeys(true);
  EXPECT_EQ(FormatKeyNotation(to_nickname), "{TAB 3}{END}{SHIFT+HOME}{DELETE}");
  Typed(job, profile_, to_nickname);
  EXPECT_EQ(job.OwnKeys(true), KeySequence{});
  EXPECT_EQ(job.ClosingKeys(), KeySequence{}) << "before the name";
  Typed(job, profile_, {KeyText(U"Nick é 名")});
  EXPECT_EQ(job.ClosingKeys(), AltPress(U's'));
  job.KeysTyped(desktop_.focused, AltPress(U's'));
  job.AwaitConfirmation();
  EXPECT_EQ(job.step(), Step::kSave) << "keys into another window";
  Typed(job, profile_, AltPress(U's'));
  EXPECT_EQ(job.ClosingKeys(), OnePress(NamedKey::kEscape));
  EXPECT_FALSE(job.Finished());
  QTimer::singleShot(300, QCoreApplication::instance(), [&] { desktop_.profile_closed = true; });
  Typed(job, profile_, OnePress(NamedKey::kEscape));
  EXPECT_TRUE(job.Finished());
  EXPECT_EQ(job.ClosingKeys(), KeySequence{});
  EXPECT_FALSE(job.TakesKeys(profile_));
}

// What can be known of the nickname is said: an account signed off before Save (which Gajim then
// greys out), a window closed early or kept open by the Escape, a Profile window the user had
// open.
TEST_F(GajimClientTest, AProfileWindowThatCannotSaveOrCloseFailsSayingWhatBecameOfTheNickname) {
  const auto sign_off = [&] {
    bus_.CallBool("change_status", {"offline", "", "home"});
    ASSERT_TRUE(e2e::WaitUntil([&] { return Show("home") == "offline"; }, std::chrono::seconds(2)));
  };
  struct Row {
    std::function<void(GajimProfileJob& job)> after_name;  // the fault and the job's next call
    std::int32_t code;
    const char* description;  // its start
  };
  const Row rows[] = {
      {[&](GajimProfileJob& job) {
         sign_off();
         job.ClosingKeys();
       },
       error_code::kNotSignedIn,
       "The account \"home\" is not signed on, and Gajim saves a profile only while it is: the "
       "nickname was typed into Gajim's Profile window but not saved"},
      {[&](GajimProfileJob& job) {
         desktop_.profile_closed = true;
         job.PrepareForKeys(desktop_.focused);
       },
       error_code::kClientError, "Gajim's Profile window was closed before the nickname was saved"},
      {[&](GajimProfileJob& job) {
         Typed(job, profile_, AltPress(U's'));
         Typed(job, profile_, OnePress(NamedKey::kEscape));
       },
       error_code::kClientError,
       "Gajim's Profile window did not close on Escape within 3 s: the nickname may not have "
       "been saved"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.description);
    Cue("Reset");
    desktop_.profile_closed = false;
    GajimProfileJob job(bus_, desktop_.parts);
    UpToSave(job);
    const Failure failure = FailureOf([&] { row.after_name(job); });
    EXPECT_EQ(failure.code(), row.code);
    EXPECT_TRUE(failure.description().starts_with(row.description)) << failure.description();
    EXPECT_FALSE(job.Finished());
  }

  // Gajim brings a Profile window that was open already in front, in the state the user left it.
  Cue("Reset");
  desktop_.profile_from_start = true;
  desktop_.focused = profile_;
  const Failure failure = FailureOf([&] { GajimProfileJob{bus_, desktop_.parts}; });
  EXPECT_EQ(failure.code(), error_code::kClientError);
  EXPECT_EQ(failure.description(),
            "Gajim's Profile window was open already, and is in front now: finish or close it "
            "there, then change the nickname again");
}

// The chat is opened on the account that lists the contact and selected in the main window; the
// message goes by Gajim's call exactly as given (a Gajim command, an emoji code, another script,
// 3,000 characters) and counts as sent only on Gajim's report of that very text.
TEST_F(GajimClientTest, AMessageIsSentByGajimAndConfirmedByItsReportOfExactlyThatText) {
  const std::string long_text(3000, 'x');
  for (const std::string& text :
       {std::string("/me waves :smile: \u00e9 {x}"), std::string("Привет, 世界 ✓"), long_text}) {
    SCOPED_TRACE(text.substr(0, 40));
    Cue("Reset");
    const auto chat = client_->InstantMessage("ERIN@work.example");
    // The main window is shown again until it has the focus.
    EXPECT_EQ(Cue("Activations").value(0).toStringList().mid(0, 2).join(" | ").toStdString(),
              "show | add-chat account=work jid=erin@work.example select=true type=contact");
    EXPECT_FALSE(chat->Finished());
    Send(*chat, {QString::fromStdString(text).toStdU32String()});
    EXPECT_TRUE(chat->Finished()) << "the program's Enters would go into the chat";
    EXPECT_EQ(Cue("Sent").value(0).toStringList(),
              QStringList({"work erin@work.example " + QString::fromStdString(text)}));
  }
}

TEST_F(GajimClientTest, AMessageGajimDoesNotConfirmFailsWithWhatGajimDid) {
  struct Row {
    const char* answer;  // the stand-in's SendAnswer
    std::int32_t code;
    const char* description;
  };
  const Row rows[] = {
      {"silent", error_code::kNoAnswer,
       "The message to \"alice@home.example\": Gajim took the message but did not report it "
       "sent within 3 s: it may not have gone out"},
      {"other", error_code::kClientError,
       "The message to \"alice@home.example\": Gajim reported another text sent (\"hi!\"), "
       "not the message: it may not have gone out as it was"},
      {"refuse", error_code::kNotSignedIn,
       "The message to \"alice@home.example\": Gajim refused to send the message: the account "
       "\"home\" is not signed on"},
      {"no reply", error_code::kNoAnswer,
       "Gajim did not answer send_chat_message(\"alice@home.example\", \"hi\", \"home\") "
       "within 4 s"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    Cue("Reset");
    Cue("SendAnswer", {QString::fromLatin1(row.answer)});
    const auto chat = client_->InstantMessage("alice@home.example");
    const auto start = std::chrono::steady_clock::now();
    const Failure failure = FailureOf([&] { Send(*chat, {KeyText(U"hi")}); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(4500));
    EXPECT_EQ(failure.code(), row.code);
    EXPECT_TRUE(failure.description().starts_with(row.description)) << failure.description();
    EXPECT_FALSE(chat->Finished());
  }
}

// Nothing goes to Gajim that it could not send as it is, nor to a chat that is not in front.
TEST_F(GajimClientTest, AChatThatCannotTakeTheMessageSendsNothing) {
  EXPECT_EQ(FailureOf([&] { client_->InstantMessage("zoe@example.org"); }).code(),
            error_code::kUnknownContact);
  auto chat = client_->InstantMessage("alice@home.example");
  EXPECT_EQ(FailureOf([&] {
              chat->SendsText({KeyText(U"a"), OnePress(NamedKey::kTab).at(0)});
            }).code(),
            error_code::kKeyNotation);
  // The main window named by the desktop, but the X server's input focus not there yet.
  desktop_.input_focus = 0;
  EXPECT_FALSE(chat->TakesKeys(desktop_.focused));
  // Gajim's Add Contact dialog has the focus: the main window is asked back, and the job fails.
  desktop_.focused = {0x2a00100, StandInPid(), "Add Contact", "gajim"};
  const Failure failure = FailureOf([&] { client_->InstantMessage("alice@home.example"); });
  EXPECT_EQ(failure.code(), error_code::kFocus);
  EXPECT_TRUE(failure.description().ends_with(
      "(the keyboard focus is on the window 'Add Contact' (gajim)), so nothing was sent"))
      << failure.description();
  EXPECT_GE(desktop_.activated.size(), 2u);
  EXPECT_EQ(desktop_.activated.back(), kMainWindow);
  EXPECT_TRUE(Cue("Sent").value(0).toStringList().isEmpty());
}

// The remote object of a Gajim that is starting is waited for; once Gajim has run longer than
// the allowance, a missing one means its D-Bus interface is off, and the failure says how to
// turn it on.
TEST_F(GajimClientTest, AMissingRemoteObjectIsWaitedForWhileGajimStartsThenExplained) {
  struct Row {
    int back_after_ms;  // -1: never
    milliseconds allowance_left;
    bool found;
  };
  const Row rows[] = {{-1, milliseconds(0), false},
                      {1000, milliseconds(5000), true},
                      {3000, milliseconds(1000), false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.back_after_ms);
    Cue("RemoteControl", {row.back_after_ms >= 0, row.back_after_ms});
    const milliseconds allowance = *ProcessAge(StandInPid()) + row.allowance_left;
    if (row.found) {
      EXPECT_NO_THROW((GajimMessenger{desktop_.parts, allowance}));
      continue;
    }
    const Failure failure = FailureOf([&] { GajimMessenger{desktop_.parts, allowance}; });
    EXPECT_EQ(failure.code(), error_code::kNotAvailable);
    EXPECT_TRUE(failure.description().starts_with(kRemoteControlOffText)) << failure.description();
    // A client made before gets the same answer.
    EXPECT_TRUE(
        FailureOf([&] { client_->MyContacts(); }).description().starts_with(kRemoteControlOffText));
    Cue("Reset");
  }
}

TEST_F(GajimClientTest, AGajimThatQuitsDuringACallIsReportedAsGone) {
  Cue("QuitOn", {"change_status"});
  Failure failure = FailureOf([&] { client_->MyStatus(status::kBusy); });
  EXPECT_EQ(failure.code(), error_code::kNoClient);
  EXPECT_EQ(failure.description(),
            std::string("Gajim quit before it answered change_status(\"dnd\", \"at my desk\", "
                        "\"home\"): ") +
                kNoClientText);
  for (const auto& action : std::vector<std::function<void()>>{
           [&] { client_->Signout(); }, [&] { GajimMessenger{desktop_.parts}; }}) {
    failure = FailureOf(action);
    EXPECT_EQ(failure.code(), error_code::kNoClient);
    EXPECT_TRUE(failure.description().starts_with(kNoClientText)) << failure.description();
  }
  StartStandIn();
}

}  // namespace
}  // namespace plumwick::gajim

namespace plumwick::gajim {
namespace {

std::unique_ptr<e2e::ChildProcess> stand_in;
e2e::Environment stand_in_env;

}  // namespace

void StartStandIn() {
  stand_in.reset();
  stand_in = std::make_unique<e2e::ChildProcess>(
      e2e::ProcessOptions{.argv = {PLUMWICK_FAKE_GAJIM}, .env = stand_in_env});
  const bool up = e2e::WaitUntil(
      [] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QString::fromLatin1(kService));
      },
      std::chrono::seconds(10));
  if (!up) {
    std::fprintf(stderr, "the stand-in Gajim did not come up\n%s\n", stand_in->Describe().c_str());
    std::exit(1);
  }
}

std::int64_t StandInPid() {
  return stand_in->Pid();
}

}  // namespace plumwick::gajim

// A private session bus with the stand-in Gajim on it, in place before Qt first looks for a bus.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<plumwick::e2e::PrivateDir> dir;
  std::unique_ptr<plumwick::e2e::SessionBus> bus;
  const bool run = !testing::GTEST_FLAG(list_tests);
  if (run) {
    const plumwick::e2e::Environment env{{"PATH", std::getenv("PATH")}};
    dir = std::make_unique<plumwick::e2e::PrivateDir>();
    bus = std::make_unique<plumwick::e2e::SessionBus>(dir->Path(), env);
    setenv("DBUS_SESSION_BUS_ADDRESS", bus->Address().c_str(), 1);
    plumwick::gajim::stand_in_env = bus->On(env);
  }
  QCoreApplication app(argc, argv);
  if (run) plumwick::gajim::StartStandIn();
  const int result = RUN_ALL_TESTS();
  plumwick::gajim::stand_in.reset();
  return result;
}
