// The sandbox client and its Messenger objects: the effect line of each change, the error of each
// impossible request, the contact list's order, removal, and sign-out ending every later call.
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/sandbox/sandbox_client.h"
#include "clients/sandbox/sandbox_messenger.h"
#include "platform/failure.h"

namespace plumwick::sandbox {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Rig {
  std::ostringstream effects;
  std::shared_ptr<SandboxClient> client = std::make_shared<SandboxClient>(effects);
  messenger::MessengerFactory factory = SandboxMessengerFactory(client);
  std::unique_ptr<messenger::Messenger> msn = factory();
};

// Each contact's sign-in name and status, walking the collection to its end.
std::vector<std::string> Walk(messenger::Messenger& msn) {
  std::vector<std::string> walked;
  auto contacts = msn.MyContacts()->Enumerate();
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

class RecordingView final : public SandboxView {
 public:
  void StatusChanged(std::int32_t status) override { Log("status " + std::to_string(status)); }
  void ContactsChanged() override { Log("contacts"); }
  void DisplayNameChanged(const std::string& name) override { Log("display name " + name); }
  void SignedOut() override { Log("signed out"); }
  void OpenConversation(const std::string& name) override { Log("open " + name); }
  std::vector<std::string> calls;

 private:
  void Log(std::string call) { calls.push_back(std::move(call)); }
};

TEST(SandboxClient, StartsSignedInToTheBuiltInAccountWithTheContactsInOrder) {
  Rig rig;
  EXPECT_EQ(rig.msn->MyServiceId(), "sandbox");
  EXPECT_EQ(rig.client->signin_name(), "you@example.com");
  EXPECT_EQ(rig.client->display_name(), "Plumwick User");
  EXPECT_EQ(rig.client->status(), messenger::status::kOnline);
  EXPECT_THAT(Walk(*rig.msn),
              ElementsAre("alice@example.com 2", "bob@example.com 1", "carol@example.com 10",
                          "dave@example.com 34", "erin@example.com 1", "frank@example.com 66",
                          "grace@example.com 2"));
  EXPECT_EQ(rig.effects.str(), "") << "reading changes nothing";
}

TEST(SandboxClient, PrintsOneExactLinePerEffectAndTellsTheViews) {
  Rig rig;
  RecordingView view;
  rig.client->AddView(view);
  rig.msn->MyStatus(10);
  rig.msn->MyStatus(34);
  rig.msn->MyStatus(2);
  rig.msn->InstantMessage("bob@example.com");  // offline contacts can be written to
  rig.client->SendMessage("bob@example.com", "  Hi: 100% {sure} :-) ünïcode  ");
  rig.client->AddContact("zoe@example.com");
  auto collection = rig.msn->MyContacts();
  collection->Remove(*rig.msn->GetContact("carol@example.com", "sandbox"));
  rig.client->SetDisplayName("Someone Else");
  rig.msn->Signout();
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
}

TEST(SandboxClient, ADetachedViewIsNoLongerTold) {
  Rig rig;
  RecordingView view;
  rig.client->AddView(view);
  rig.client->RemoveView(view);
  rig.msn->MyStatus(10);
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
      {"GetContact empty", [](Rig& r) { r.msn->GetContact("", "sandbox"); },
       error_code::kEmptyContact, "sign-in name"},
      {"GetContact unknown", [](Rig& r) { r.msn->GetContact("zed@example.com", "sandbox"); },
       error_code::kUnknownContact, "zed@example.com"},
      {"GetContact other service", [](Rig& r) { r.msn->GetContact("alice@example.com", "msn"); },
       error_code::kUnknownService, "\"msn\""},
      {"GetContact empty service", [](Rig& r) { r.msn->GetContact("alice@example.com", ""); },
       error_code::kUnknownService, "\"\""},
      {"GetContact case differs", [](Rig& r) { r.msn->GetContact("Alice@example.com", "sandbox"); },
       error_code::kUnknownContact, "Alice@example.com"},
      {"InstantMessage empty", [](Rig& r) { r.msn->InstantMessage(""); }, error_code::kEmptyContact,
       "sign-in name"},
      {"InstantMessage unknown", [](Rig& r) { r.msn->InstantMessage("zed@example.com"); },
       error_code::kUnknownContact, "zed@example.com"},
      {"MyStatus offline", [](Rig& r) { r.msn->MyStatus(1); }, error_code::kBadArgument,
       "Status 1"},
      {"MyStatus out to lunch", [](Rig& r) { r.msn->MyStatus(66); }, error_code::kBadArgument,
       "Status 66"},
      {"MyStatus negative", [](Rig& r) { r.msn->MyStatus(-2); }, error_code::kBadArgument,
       "Status -2"},
      {"OptionsPages window", [](Rig& r) { r.msn->OptionsPages(7, 0); }, error_code::kBadArgument,
       "Window 7"},
      {"OptionsPages page", [](Rig& r) { r.msn->OptionsPages(0, 3); }, error_code::kBadArgument,
       "page 3"},
      {"OptionsPages", [](Rig& r) { r.msn->OptionsPages(0, 0); }, error_code::kNotAvailable,
       "not available"},
      {"AddContact window", [](Rig& r) { r.msn->AddContact(1, "x@example.com"); },
       error_code::kBadArgument, "Window 1"},
      {"AddContact empty", [](Rig& r) { r.msn->AddContact(0, ""); }, error_code::kEmptyContact,
       "address"},
      {"AddContact", [](Rig& r) { r.msn->AddContact(0, "x@example.com"); },
       error_code::kNotAvailable, "x@example.com"},
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
    const Failure failure = FailureOf([&] { c.call(rig); });
    EXPECT_EQ(failure.code(), c.code);
    EXPECT_THAT(failure.description(), HasSubstr(c.named));
    EXPECT_EQ(rig.effects.str(), "");
    EXPECT_EQ(Walk(*rig.msn).size(), 7u);
  }
  Rig rig;
  EXPECT_THAT(FailureOf([&] { rig.msn->AddContact(0, "x@example.com"); }).description(),
              HasSubstr("not available"));
}

TEST(SandboxClient, RemovedContactIsGoneAndRemovingItAgainFails) {
  Rig rig;
  auto collection = rig.msn->MyContacts();
  auto bob = rig.msn->GetContact("bob@example.com", "sandbox");
  collection->Remove(*bob);
  EXPECT_THAT(Walk(*rig.msn),
              ElementsAre("alice@example.com 2", "carol@example.com 10", "dave@example.com 34",
                          "erin@example.com 1", "frank@example.com 66", "grace@example.com 2"));
  EXPECT_EQ(FailureOf([&] { collection->Remove(*bob); }).code(), error_code::kUnknownContact);
  EXPECT_EQ(FailureOf([&] { bob->Status(); }).code(), error_code::kUnknownContact);
  EXPECT_EQ(FailureOf([&] { rig.msn->GetContact("bob@example.com", "sandbox"); }).code(),
            error_code::kUnknownContact);
  EXPECT_EQ(FailureOf([&] { rig.msn->InstantMessage("bob@example.com"); }).code(),
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
  auto collection = rig.msn->MyContacts();
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
  EXPECT_THAT(Walk(*rig.msn), ElementsAre("grace@example.com 2", "zoe@example.com 1"));
}

TEST(SandboxClient, AfterSignoutEveryCallFailsAlsoOnObjectsObtainedBeforeAndOnOtherMessengers) {
  Rig rig;
  auto other = rig.factory();
  auto collection = rig.msn->MyContacts();
  auto walk = collection->Enumerate();
  auto alice = rig.msn->GetContact("alice@example.com", "sandbox");
  auto conversation = rig.msn->InstantMessage("alice@example.com");
  rig.msn->Signout();
  const std::string printed = rig.effects.str();

  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"Signout", [&] { rig.msn->Signout(); }},
      {"GetContact", [&] { rig.msn->GetContact("alice@example.com", "sandbox"); }},
      {"GetContact empty", [&] { rig.msn->GetContact("", "x"); }},
      {"OptionsPages", [&] { rig.msn->OptionsPages(0, 0); }},
      {"OptionsPages bad", [&] { rig.msn->OptionsPages(3, 3); }},
      {"AddContact", [&] { rig.msn->AddContact(0, "x@example.com"); }},
      {"AddContact empty", [&] { rig.msn->AddContact(0, ""); }},
      {"InstantMessage", [&] { rig.msn->InstantMessage("alice@example.com"); }},
      {"MyContacts", [&] { rig.msn->MyContacts(); }},
      {"MyStatus", [&] { rig.msn->MyStatus(2); }},
      {"MyStatus bad", [&] { rig.msn->MyStatus(5); }},
      {"MyServiceId", [&] { rig.msn->MyServiceId(); }},
      {"other Messenger", [&] { other->MyServiceId(); }},
      {"new Messenger", [&] { rig.factory()->MyStatus(10); }},
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
  EXPECT_THAT(printed, ::testing::EndsWith("sandbox: signed out\n"));
  conversation.reset();  // letting go of a conversation never fails
}

}  // namespace
}  // namespace plumwick::sandbox
