// The sandbox client and its Messenger objects: the effect line of each change, the error of each
// impossible request, the contact list's order, removal, sign-out ending every later call, and the
// dialogs the client asks its views about, and its typing jobs under the program's typing on the
// fake clock: the conversation's draft check and its comparison of what was sent with what was
// typed.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/sandbox/sandbox_client.h"
#include "clients/sandbox/sandbox_messenger.h"
#include "messenger/client_typing.h"
#include "platform/failure.h"
#include "tests/unit/doubles.h"

namespace plumwick::sandbox {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Rig {
  testing::CallLog log;
  testing::FakeClock clock;
  testing::FakeEventPump pump{log, clock};
  EventWait wait{clock, pump};
  std::ostringstream effects;
  std::shared_ptr<SandboxClient> client = std::make_shared<SandboxClient>(effects);
  // Another Messenger object connected to the same client.
  std::unique_ptr<messenger::Messenger> Connect() {
    return std::make_unique<SandboxMessenger>(client, wait);
  }
  std::unique_ptr<messenger::Messenger> messenger = Connect();
};

// Each contact's sign-in name and status, walking the collection to its end.
std::vector<std::string> Walk(messenger::Messenger& messenger) {
  std::vector<std::string> walked;
  auto contacts = messenger.MyContacts()->Enumerate();
  while (auto contact = contacts->Next()) {
    walked.push_back(contact->SigninName() + " " + std::to_string(contact->Status()));
  }
  return walked;
}

// The failure a call throws; fails the test when it throws none.
Failure FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Failure& failure) {
    return failure;
  }
  ADD_FAILURE() << "no failure thrown";
  return Failure(0, "");
}

// The keys typed were `typed`, and the job's error holds `error_part` (none when it is empty).
void ExpectOutcome(const testing::CallLog& log, const std::string& error,
                   const std::vector<std::string>& typed, const std::string& error_part) {
  EXPECT_EQ(testing::TypedSteps(log.calls), typed);
  if (error_part.empty()) {
    EXPECT_EQ(error, "");
  } else {
    EXPECT_THAT(error, HasSubstr(error_part));
  }
}

// Records every call; shows dialogs when `shows_dialogs`, and shows the windows in `windows` as the
// window of every job.
class RecordingView final : public SandboxView {
 public:
  explicit RecordingView(bool dialogs = true) : shows_dialogs(dialogs) {}

  void StatusChanged(std::int32_t status) override { Log("status " + std::to_string(status)); }
  void ContactsChanged() override { Log("contacts"); }
  void DisplayNameChanged(const std::string& name) override { Log("display name " + name); }
  void SignedOut() override { Log("signed out"); }
  void OpenConversation(const std::string& name) override { Log("open " + name); }
  bool OpenAddContact(const std::string& address) override {
    Log("add-contact dialog " + address);
    return shows_dialogs;
  }
  bool OpenOptions() override {
    Log("options dialog");
    return shows_dialogs;
  }
  bool ShowsJobWindow(JobWindow, const std::string&, std::uint64_t id) const noexcept override {
    return windows.contains(id);
  }
  bool ShowsJobWindowAtAll(JobWindow, const std::string&) const noexcept override {
    return !windows.empty();
  }
  void BringBack(JobWindow window, const std::string& contact) override {
    Log("bring back " + std::to_string(static_cast<int>(window)) + " " + contact);
  }
  std::string EntryText(const std::string& contact) const override {
    const auto found = entries.find(contact);
    return found == entries.end() ? std::string() : found->second;
  }

  bool shows_dialogs;
  std::set<std::uint64_t> windows;
  std::map<std::string, std::string> entries;  // each conversation's entry, by contact
  std::vector<std::string> calls;

 private:
  void Log(std::string call) { calls.push_back(std::move(call)); }
};

TEST(SandboxClient, StartsSignedInToTheBuiltInAccountWithTheContactsInOrder) {
  Rig rig;
  EXPECT_EQ(rig.messenger->MyServiceId(), "sandbox");
  EXPECT_EQ(rig.client->signin_name(), "you@example.com");
  EXPECT_EQ(rig.client->display_name(), "Plumwick User");
  EXPECT_EQ(rig.client->status(), messenger::status::kOnline);
  EXPECT_THAT(Walk(*rig.messenger),
              ElementsAre("alice@example.com 2", "bob@example.com 1", "carol@example.com 10",
                          "dave@example.com 34", "erin@example.com 1", "frank@example.com 66",
                          "grace@example.com 2"));
  EXPECT_EQ(rig.effects.str(), "") << "reading changes nothing";
}

TEST(SandboxClient, PrintsOneExactLinePerEffectAndTellsTheViews) {
  Rig rig;
  RecordingView view;
  rig.client->AddView(view);
  rig.messenger->MyStatus(10);
  rig.messenger->MyStatus(34);
  rig.messenger->MyStatus(2);
  rig.messenger->InstantMessage("bob@example.com");  // offline contacts can be written to
  rig.client->SendMessage("bob@example.com", "  Hi: 100% {sure} :-) ünïcode  ");
  rig.client->AddContact("zoe@example.com");
  auto collection = rig.messenger->MyContacts();
  collection->Remove(*rig.messenger->GetContact("carol@example.com", "sandbox"));
  rig.client->SetDisplayName("Someone Else");
  rig.messenger->Signout();
  EXPECT_EQ(rig.effects.str(),
            "sandbox: status set to 10 (Busy)\n"
            "sandbox: status set to 34 (Away)\n"
            "sandbox: status set to 2 (Online)\n"
            "sandbox: conversation opened with bob@example.com\n"
            "sandbox: message sent to bob@example.com:   Hi: 100% {sure} :-) ünïcode  \n"
            "sandbox: contact added: zoe@example.com\n"
            "sandbox: contact removed: carol@example.com\n"
            "sandbox: display name changed to Someone Else\n"
            "sandbox: signed out\n");
  EXPECT_THAT(view.calls,
              ElementsAre("status 10", "status 34", "status 2", "open bob@example.com", "contacts",
                          "contacts", "display name Someone Else", "signed out"));
  EXPECT_EQ(rig.client->display_name(), "Someone Else");
  EXPECT_THAT(rig.client->SentTo("bob@example.com"),
              ElementsAre("  Hi: 100% {sure} :-) ünïcode  "));
  EXPECT_THAT(rig.client->SentTo("alice@example.com"), IsEmpty());
}

TEST(SandboxClient, ADetachedViewIsNoLongerTold) {
  Rig rig;
  RecordingView view;
  rig.client->AddView(view);
  rig.client->RemoveView(view);
  rig.messenger->MyStatus(10);
  EXPECT_THAT(view.calls, IsEmpty());
}

TEST(SandboxClient, EachImpossibleRequestFailsWithItsCodeADescriptionNamingTheInputAndNoEffect) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> call;
    std::int32_t code;
    const char* named;  // the input the description must name
  };
  const std::vector<Case> cases = {
      {"GetContact empty", [](Rig& r) { r.messenger->GetContact("", "sandbox"); },
       error_code::kEmptyContact, "sign-in name"},
      {"GetContact unknown", [](Rig& r) { r.messenger->GetContact("zed@example.com", "sandbox"); },
       error_code::kUnknownContact, "zed@example.com"},
      {"GetContact other service",
       [](Rig& r) { r.messenger->GetContact("alice@example.com", "client"); },
       error_code::kUnknownService, "\"client\""},
      {"GetContact empty service", [](Rig& r) { r.messenger->GetContact("alice@example.com", ""); },
       error_code::kUnknownService, "\"\""},
      {"GetContact case differs",
       [](Rig& r) { r.messenger->GetContact("Alice@example.com", "sandbox"); },
       error_code::kUnknownContact, "Alice@example.com"},
      {"InstantMessage empty", [](Rig& r) { r.messenger->InstantMessage(""); },
       error_code::kEmptyContact, "sign-in name"},
      {"InstantMessage unknown", [](Rig& r) { r.messenger->InstantMessage("zed@example.com"); },
       error_code::kUnknownContact, "zed@example.com"},
      {"MyStatus offline", [](Rig& r) { r.messenger->MyStatus(1); }, error_code::kBadArgument,
       "Status 1"},
      {"MyStatus out to lunch", [](Rig& r) { r.messenger->MyStatus(66); }, error_code::kBadArgument,
       "Status 66"},
      {"MyStatus negative", [](Rig& r) { r.messenger->MyStatus(-2); }, error_code::kBadArgument,
       "Status -2"},
      {"OptionsPages window", [](Rig& r) { r.messenger->OptionsPages(7, 0); },
       error_code::kBadArgument, "Window 7"},
      {"OptionsPages page", [](Rig& r) { r.messenger->OptionsPages(0, 3); },
       error_code::kBadArgument, "page 3"},
      {"AddContact window", [](Rig& r) { r.messenger->AddContact(1, "x@example.com"); },
       error_code::kBadArgument, "Window 1"},
      {"AddContact empty", [](Rig& r) { r.messenger->AddContact(0, ""); },
       error_code::kEmptyContact, "address"},
      {"Remove unknown", [](Rig& r) { r.client->RemoveContact("zed@example.com"); },
       error_code::kUnknownContact, "zed@example.com"},
      {"send empty", [](Rig& r) { r.client->SendMessage("alice@example.com", ""); },
       error_code::kBadArgument, "alice@example.com"},
      {"send to unknown", [](Rig& r) { r.client->SendMessage("zed@example.com", "hi"); },
       error_code::kUnknownContact, "zed@example.com"},
      {"add present", [](Rig& r) { r.client->AddContact("dave@example.com"); },
       error_code::kClientError, "dave@example.com"},
      {"add empty", [](Rig& r) { r.client->AddContact(""); }, error_code::kEmptyContact, "address"},
      {"empty display name", [](Rig& r) { r.client->SetDisplayName(""); }, error_code::kBadArgument,
       "display name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    RecordingView view;  // would open the dialogs: a refused request must not reach it
    rig.client->AddView(view);
    const std::vector<std::string> before = Walk(*rig.messenger);
    const Failure failure = FailureOf([&] { c.call(rig); });
    EXPECT_EQ(failure.code(), c.code);
    EXPECT_THAT(failure.description(), HasSubstr(c.named));
    EXPECT_EQ(rig.effects.str(), "");
    EXPECT_EQ(Walk(*rig.messenger), before) << "the list is left as it was";
    EXPECT_THAT(rig.client->SentTo("alice@example.com"), IsEmpty());
    EXPECT_THAT(view.calls, IsEmpty());
  }
}

TEST(SandboxClient, TheDialogsOpenThroughTheViewsAndAddOrChangeNothingByThemselves) {
  Rig rig;
  RecordingView view;
  RecordingView client_window(/*dialogs=*/false);
  rig.client->AddView(client_window);
  rig.client->AddView(view);
  rig.messenger->AddContact(0, "zoe@example.com");
  rig.messenger->AddContact(0, "dave@example.com");  // already there: refused only once confirmed
  rig.messenger->OptionsPages(0, 0);
  EXPECT_THAT(view.calls, ElementsAre("add-contact dialog zoe@example.com",
                                      "add-contact dialog dave@example.com", "options dialog"));
  EXPECT_EQ(client_window.calls, view.calls) << "every view is asked";
  EXPECT_EQ(rig.effects.str(),
            "sandbox: add-contact dialog opened for zoe@example.com\n"
            "sandbox: add-contact dialog opened for dave@example.com\n"
            "sandbox: options dialog opened\n");
  EXPECT_EQ(Walk(*rig.messenger).size(), 7u);
  EXPECT_EQ(rig.client->display_name(), "Plumwick User");
}

TEST(SandboxClient, ADialogNoViewCanShowIsNotAvailableAndPrintsNothing) {
  for (const bool with_view : {false, true}) {
    SCOPED_TRACE(with_view ? "a view without dialogs" : "no views");
    Rig rig;
    RecordingView client_window(/*dialogs=*/false);
    if (with_view) rig.client->AddView(client_window);
    const Failure add = FailureOf([&] { rig.messenger->AddContact(0, "x@example.com"); });
    const Failure options = FailureOf([&] { rig.messenger->OptionsPages(0, 0); });
    EXPECT_EQ(add.code(), error_code::kNotAvailable);
    EXPECT_EQ(options.code(), error_code::kNotAvailable);
    EXPECT_THAT(add.description(), HasSubstr("dialog (for \"x@example.com\") cannot be opened"));
    EXPECT_THAT(options.description(), HasSubstr("options dialog cannot be opened"));
    EXPECT_EQ(rig.effects.str(), "");
  }
}

// The program's typing into the jobs the client starts: what the client does, and the keys that
// reach its window or the error the job ends with.
TEST(SandboxJobs, TypingFinishesEachJobOrFailsWithTheClientsReason) {
  using std::chrono::milliseconds;
  struct Case {
    const char* name;
    std::function<std::unique_ptr<messenger::TypingJob>(Rig&)> start;
    std::vector<std::string> keys;  // the action's typing steps
    // When the client handles the first step (its own event loop's delay), and what it does then;
    // never when unset.
    milliseconds handled_after;
    std::function<void(Rig&)> handle;
    std::vector<std::string> typed;
    std::string error;  // part of the error's description; empty: none
  };
  const auto add = [](Rig& r) { return r.messenger->AddContact(0, "zoe@example.com"); };
  const auto adds = [](const std::string& address) {
    return [address](Rig& r) {
      try {
        r.client->AddContact(address);
      } catch (const Failure&) {
        // Shown in the dialog; the job reads the outcome.
      }
    };
  };
  const std::vector<std::string> message = {"hi", "{ENTER}", "{ENTER}"};
  const std::vector<std::string> enters = {"{ENTER}", "{ENTER}"};
  const std::vector<Case> cases = {
      {"a conversation takes the message and both Enters",
       [](Rig& r) { return r.messenger->InstantMessage("alice@example.com"); },
       message,
       {},
       [](Rig& r) { r.client->SendMessage("alice@example.com", "hi"); },
       message,
       ""},
      {"the options dialog takes the name and both Enters",
       [](Rig& r) { return r.messenger->OptionsPages(0, 0); },
       message,
       {},
       {},
       message,
       ""},
      {"added after 1.5 s: the next Enter goes to the notice", add, enters, milliseconds(1500),
       adds("zoe@example.com"), enters, ""},
      {"refused: the client's reason, and no more keys",
       add,
       enters,
       milliseconds(100),
       adds("alice@example.com"),
       {"{ENTER}"},
       "already in your contact list"},
      {"the dialog's Enter not handled within 2 s",
       add,
       enters,
       {},
       {},
       {"{ENTER}"},
       "did not reach its Add button"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    RecordingView view;
    view.windows = {7};
    rig.client->AddView(view);
    testing::FakeKeystrokes keys(rig.log);
    testing::FakeFocusedWindow focus(rig.log);
    focus.window = {7, 4242};
    messenger::ClientTyping typing(focus, keys, rig.wait);
    std::optional<Clock::TimePoint> enter_at;
    focus.on_look = [&] {
      if (enter_at && c.handle && rig.clock.now - *enter_at >= c.handled_after) {
        c.handle(rig);
        enter_at.reset();
      }
    };
    std::string error;
    try {
      const std::unique_ptr<messenger::TypingJob> job = c.start(rig);
      for (const std::string& step : c.keys) {
        typing.Type(*job, ParseKeyNotation(step));
        if (step == c.keys.front()) enter_at = rig.clock.now;
      }
    } catch (const Failure& failure) {
      error = failure.description();
    }
    ExpectOutcome(rig.log, error, c.typed, c.error);
  }
}

// A message typed into a conversation whose window the test plays: keys go into its entry, and
// each Enter sends what the entry holds, as `sends` turns it (a key lost on the way), or nothing.
TEST(SandboxJobs, TheConversationJobRefusesTextLeftInTheEntryAndComparesWhatWasSent) {
  const std::string alice = "alice@example.com";
  using Sends = std::function<std::string(Rig&, const std::string&)>;
  const Sends as_typed = [](Rig&, const std::string& text) { return text; };
  struct Case {
    const char* name;
    std::string left;  // in the entry before the job
    bool keys_follow;  // false: the conversation is only brought forward
    Sends sends;       // nothing is sent when unset
    std::vector<std::string> typed;
    std::string error;              // part of the error's description; empty: none
    bool closed_once_sent = false;  // the user closes the conversation when the message went
  };
  const std::string draft = "Grüße! I began this reply and never sent it, nor cleared it";
  const std::vector<Case> cases = {
      {"an empty entry: sent as typed", "", true, as_typed, {"hi", "{ENTER}", "{ENTER}"}, ""},
      {"text left in the entry: refused before any key",
       draft,
       true,
       as_typed,
       {},
       "The sandbox client's conversation with \"alice@example.com\" holds text that was typed "
       "there and not sent (\"Grüße! I began this reply and never sent…\"). The message was not "
       "typed, so that it does not go out joined to that text, which is still there: send or "
       "clear it in the conversation, then send the message again"},
      {"short text left", "ok", true, as_typed, {}, "not sent (\"ok\")."},
      {"text left, the conversation only brought forward", draft, false, as_typed, {}, ""},
      {"a key lost on the way",
       "",
       true,
       [](Rig&, const std::string& text) { return text.substr(0, 1); },
       {"hi", "{ENTER}"},
       "The sandbox client sent \"h\" to \"alice@example.com\", not the message typed, \"hi\" "
       "(they differ from the 2nd character on)"},
      {"nothing sent",
       "",
       true,
       nullptr,
       {"hi", "{ENTER}"},
       "did not send the message to \"alice@example.com\" within 2 seconds"},
      {"the contact removed before the Enter",
       "",
       true,
       [](Rig& r, const std::string& text) {
         r.client->RemoveContact("alice@example.com");
         return text;
       },
       {"hi", "{ENTER}"},
       "was not sent: \"alice@example.com\" is not in your contact list"},
      {"the conversation closed once the message went: done without the last Enter",
       "",
       true,
       as_typed,
       {"hi", "{ENTER}"},
       "",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    RecordingView view;
    view.windows = {7};
    view.entries[alice] = c.left;
    rig.client->AddView(view);
    rig.client->SendMessage(alice, "an earlier message");  // not the job's
    testing::FakeKeystrokes keys(rig.log);
    keys.stop = [&](const KeySequence& step) {
      std::string& entry = view.entries[alice];
      for (const KeyToken& token : step) {
        if (const auto* text = std::get_if<KeyText>(&token)) {
          entry += Utf8Of(*text);
        } else if (!entry.empty() && c.sends) {  // an Enter
          try {
            rig.client->SendMessage(alice, c.sends(rig, entry));
            entry.clear();
            if (c.closed_once_sent) view.windows.clear();
          } catch (const Failure&) {
            // Shown in the window, where the text stays.
          }
        }
      }
      return TypedKeys{KeyCount(step), TypedKeys::Stop::kDone};
    };
    testing::FakeFocusedWindow focus(rig.log);
    focus.window = {7, 4242};
    messenger::ClientTyping typing(focus, keys, rig.wait);
    std::string error;
    try {
      const std::unique_ptr<messenger::TypingJob> job = rig.messenger->InstantMessage(alice);
      if (!c.keys_follow) {
        typing.BringForward(*job);
      } else {
        typing.Prepare(*job);
        for (const char* step : {"hi", "{ENTER}", "{ENTER}"}) {
          typing.Type(*job, ParseKeyNotation(step));
        }
      }
    } catch (const Failure& failure) {
      error = failure.description();
    }
    ExpectOutcome(rig.log, error, c.typed, c.error);
    if (!c.left.empty()) {
      EXPECT_EQ(view.entries[alice], c.left) << "text left there stays";
    }
  }
}

TEST(SandboxJobs, TheJobsWindowComesBackFromTheProgramsOwnWindowButNotFromAnotherProgram) {
  Rig rig;
  RecordingView view;
  view.windows = {7};
  rig.client->AddView(view);
  const auto conversation = rig.messenger->InstantMessage("alice@example.com");
  view.calls.clear();
  const DesktopWindow foreign{8, 999, "Terminal", "bash"};
  conversation->PrepareForKeys(foreign);
  EXPECT_THAT(view.calls, IsEmpty()) << "the user went to another program";

  const DesktopWindow own{5, 4242, "PLUMWICK", "plumwick-sandbox", true};
  conversation->PrepareForKeys(own);
  conversation->PrepareForKeys(own);  // asked again at once: the window manager is at it
  EXPECT_THAT(view.calls, ElementsAre("bring back 0 alice@example.com"));
  rig.clock.now += std::chrono::milliseconds(300);
  conversation->PrepareForKeys(own);
  EXPECT_EQ(view.calls.size(), 2u) << "asked again once the window manager had its time";
  EXPECT_TRUE(conversation->TakesKeys({7, 4242}));
  EXPECT_FALSE(conversation->TakesKeys({8, 4242}));
}

TEST(SandboxClient, RemovedContactIsGoneAndRemovingItAgainFails) {
  Rig rig;
  auto collection = rig.messenger->MyContacts();
  auto bob = rig.messenger->GetContact("bob@example.com", "sandbox");
  collection->Remove(*bob);
  EXPECT_THAT(Walk(*rig.messenger),
              ElementsAre("alice@example.com 2", "carol@example.com 10", "dave@example.com 34",
                          "erin@example.com 1", "frank@example.com 66", "grace@example.com 2"));
  EXPECT_EQ(FailureOf([&] { collection->Remove(*bob); }).code(), error_code::kUnknownContact);
  EXPECT_EQ(FailureOf([&] { bob->Status(); }).code(), error_code::kUnknownContact);
  EXPECT_EQ(FailureOf([&] { rig.messenger->GetContact("bob@example.com", "sandbox"); }).code(),
            error_code::kUnknownContact);
  EXPECT_EQ(FailureOf([&] { rig.messenger->InstantMessage("bob@example.com"); }).code(),
            error_code::kUnknownContact);
  EXPECT_EQ(rig.effects.str(), "sandbox: contact removed: bob@example.com\n");
}

TEST(SandboxClient, RemovingAContactByTheListsOwnEntryPrintsItsName) {
  Rig rig;
  rig.client->RemoveContact(rig.client->contacts().front().signin_name);
  EXPECT_EQ(rig.effects.str(), "sandbox: contact removed: alice@example.com\n");
  EXPECT_EQ(rig.client->contacts().size(), 6u);
}

TEST(SandboxClient, EnumerationWalksTheListAsItWasWhenItStarted) {
  Rig rig;
  auto collection = rig.messenger->MyContacts();
  auto contacts = collection->Enumerate();
  std::vector<std::string> walked;
  while (auto contact = contacts->Next()) {
    walked.push_back(contact->SigninName());
    // Removing every contact during the walk, and adding one, changes neither its length nor order.
    if (contact->SigninName() != "grace@example.com") collection->Remove(*contact);
    if (walked.size() == 1) rig.client->AddContact("zoe@example.com");
  }
  EXPECT_THAT(walked, ElementsAre("alice@example.com", "bob@example.com", "carol@example.com",
                                  "dave@example.com", "erin@example.com", "frank@example.com",
                                  "grace@example.com"));
  EXPECT_EQ(contacts->Next(), nullptr) << "stays at the end";
  EXPECT_THAT(Walk(*rig.messenger), ElementsAre("grace@example.com 2", "zoe@example.com 1"));
}

TEST(SandboxClient, AfterSignoutEveryCallFailsAlsoOnObjectsObtainedBeforeAndOnOtherMessengers) {
  Rig rig;
  RecordingView view;  // would show the dialogs, were the user signed in
  rig.client->AddView(view);
  auto other = rig.Connect();
  auto collection = rig.messenger->MyContacts();
  auto walk = collection->Enumerate();
  auto alice = rig.messenger->GetContact("alice@example.com", "sandbox");
  auto conversation = rig.messenger->InstantMessage("alice@example.com");
  rig.messenger->Signout();
  const std::string printed = rig.effects.str();

  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"Signout", [&] { rig.messenger->Signout(); }},
      {"GetContact", [&] { rig.messenger->GetContact("alice@example.com", "sandbox"); }},
      {"GetContact empty", [&] { rig.messenger->GetContact("", "x"); }},
      {"OptionsPages", [&] { rig.messenger->OptionsPages(0, 0); }},
      {"OptionsPages bad", [&] { rig.messenger->OptionsPages(3, 3); }},
      {"AddContact", [&] { rig.messenger->AddContact(0, "x@example.com"); }},
      {"AddContact empty", [&] { rig.messenger->AddContact(0, ""); }},
      {"add-contact dialog", [&] { rig.client->OpenAddContactDialog("x@example.com"); }},
      {"options dialog", [&] { rig.client->OpenOptionsDialog(); }},
      {"InstantMessage", [&] { rig.messenger->InstantMessage("alice@example.com"); }},
      {"MyContacts", [&] { rig.messenger->MyContacts(); }},
      {"MyStatus", [&] { rig.messenger->MyStatus(2); }},
      {"MyStatus bad", [&] { rig.messenger->MyStatus(5); }},
      {"MyServiceId", [&] { rig.messenger->MyServiceId(); }},
      {"other Messenger", [&] { other->MyServiceId(); }},
      {"new Messenger", [&] { rig.Connect()->MyStatus(10); }},
      {"Enumerate", [&] { collection->Enumerate(); }},
      {"Remove", [&] { collection->Remove(*alice); }},
      {"Next", [&] { walk->Next(); }},
      {"Status", [&] { alice->Status(); }},
      {"SigninName", [&] { alice->SigninName(); }},
      {"send", [&] { rig.client->SendMessage("alice@example.com", "hi"); }},
      {"add", [&] { rig.client->AddContact("x@example.com"); }},
      {"display name", [&] { rig.client->SetDisplayName("X"); }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    const Failure failure = FailureOf(call);
    EXPECT_EQ(failure.code(), error_code::kNotSignedIn);
    EXPECT_THAT(failure.description(), HasSubstr("signed out"));
  }
  EXPECT_EQ(rig.effects.str(), printed) << "no effect after sign-out";
  EXPECT_THAT(view.calls, ElementsAre("open alice@example.com", "signed out"))
      << "no dialog opened";
  EXPECT_THAT(printed, ::testing::EndsWith("sandbox: signed out\n"));
  conversation.reset();  // letting go of a conversation never fails
}

}  // namespace
}  // namespace plumwick::sandbox
