// What the end-to-end tests of plumwick with Pidgin share.
#include "tests/purple/purple_fixture.h"

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/typed_keys.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/session_bus.h"
#include "tests/purple/xmpp_server.h"

namespace plumwick::e2e {

namespace {

constexpr auto kFieldTimeout = std::chrono::seconds(5);
// libpurple's status primitive for available.
constexpr std::int32_t kAvailable = 2;

// Empty when this process's network namespace has only the loopback interface, and it is up;
// otherwise why the tests must not run here: the server, Pidgin and the peers would be reachable
// from, and reach for, other machines.
std::string PrivateNetworkProblem() {
  // Both asked of the kernel for this process's own namespace (/sys would show the namespace of
  // whoever mounted it).
  std::vector<std::string> interfaces;
  if (struct if_nameindex* list = if_nameindex()) {
    for (const struct if_nameindex* entry = list; entry->if_index != 0; ++entry) {
      interfaces.push_back(entry->if_name);
    }
    if_freenameindex(list);
  }
  if (interfaces != std::vector<std::string>{"lo"}) {
    std::string names;
    for (const auto& name : interfaces) names += " " + name;
    return "the network namespace has other interfaces than lo:" + names +
           " (run the test through ctest, whose command starts it in a private namespace)";
  }
  const int probe = socket(AF_INET, SOCK_DGRAM, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  const bool up =
      probe >= 0 && ioctl(probe, SIOCGIFFLAGS, &request) == 0 && (request.ifr_flags & IFF_UP) != 0;
  if (probe >= 0) close(probe);
  if (!up) return "the loopback interface is not up";
  return "";
}

struct World {
  explicit World(const Environment& desktop) {
    bus = std::make_unique<SessionBus>(dir.MakeSubdir("bus"), desktop);
    env = bus->On(desktop);
    server = std::make_unique<XmppServer>(
        std::vector<XmppAccount>{
            {"plum", people::kUserPassword, {"alice", "bob", "dave"}},
            {"alice", people::kAlicePassword, {"plum"}},
            {"bob", "bob-secret", {"plum", "erin"}},
            {"carol", "carol-secret", {}},
            {"dave", "dave-secret", {"plum"}},
            {"erin", people::kErinPassword, {"bob"}},
        },
        env);
    // The user's profile on the server before Pidgin reads it at sign-on: a nickname change must
    // keep the rest of it.
    PublishVcard(people::kUser + "/setup", people::kUserPassword,
                 "{\"FN\": " + JsonString(people::kUserFullName) +
                     ", \"DESC\": " + JsonString(people::kUserDescription) + "}",
                 env);
    const auto config = dir.MakeSubdir("purple");
    WritePidginConfig(config, {.jid = people::kUser + "/plumwick",
                               .password = people::kUserPassword,
                               .buddies = {people::kAlice, people::kBob, people::kDave}});
    pidgin = std::make_unique<Pidgin>(config, env);
    alice = std::make_unique<XmppPeer>(people::kAlice + "/peer", people::kAlicePassword, "", env);
    bob = std::make_unique<XmppPeer>(people::kBob + "/peer", "bob-secret", "dnd", env);
    pidgin->StartSignedOn();
  }

  ~World() {
    // Pidgin first, so that it does not reconnect to a server going away.
    pidgin.reset();
    alice.reset();
    bob.reset();
    server.reset();
    bus.reset();
  }

  PrivateDir dir;
  std::unique_ptr<SessionBus> bus;
  Environment env;
  std::unique_ptr<XmppServer> server;
  std::unique_ptr<Pidgin> pidgin;
  std::unique_ptr<XmppPeer> alice;
  std::unique_ptr<XmppPeer> bob;
};

std::unique_ptr<World> world;
std::string world_error;

}  // namespace

void PurpleE2eTest::SetUpTestSuite() {
  DesktopTest::SetUpTestSuite();
  world_error = PrivateNetworkProblem();
  if (!world_error.empty()) return;
  try {
    world = std::make_unique<World>(Session().Env());
  } catch (const std::exception& error) {
    world_error = error.what();
  } catch (...) {
    world_error = "the test services did not start";
  }
}

void PurpleE2eTest::TearDownTestSuite() {
  world.reset();
  DesktopTest::TearDownTestSuite();
}

void PurpleE2eTest::SetUp() {
  DesktopTest::SetUp();
  if (HasFatalFailure()) return;
  // Failed, not skipped: a machine that cannot run these is a broken test machine.
  ASSERT_TRUE(world) << "the test services did not start: " << world_error;
  // A test may have left Pidgin killed or signed out; every test starts signed on.
  if (world->pidgin->Running() && Dbus().SignedOnAccount() == 0) Dbus().SetStatus(kAvailable);
  ASSERT_NO_THROW(world->pidgin->StartSignedOn());
  // Conversations of earlier tests would hide whether this one opened any.
  for (const std::int32_t conversation : Dbus().Ints("PurpleGetIms")) {
    Dbus().Call("PurpleConversationDestroy", {IntArg(conversation)});
  }
  // What reached the peers in earlier tests cannot answer for this one.
  world->alice->SkipReceived();
  ASSERT_NO_FATAL_FAILURE(StartProgram());
}

void PurpleE2eTest::TearDown() {
  if (program_) program_->Stop();
}

Pidgin& PurpleE2eTest::ThePidginProcess() {
  return *world->pidgin;
}

XmppPeer& PurpleE2eTest::Alice() {
  return *world->alice;
}

const Environment& PurpleE2eTest::Env() {
  return world->env;
}

void PurpleE2eTest::StartProgram() {
  program_ =
      std::make_unique<ChildProcess>(ProcessOptions{.argv = {PLUMWICK_PROGRAM}, .env = Env()});
  const auto window = User().WaitForWindow(kCaption, kWindowTimeout);
  ASSERT_TRUE(window) << "no window \"" << kCaption << "\"\n" << program_->Describe();
  window_ = *window;
}

void PurpleE2eTest::ClickControl(const Rect& control) const {
  User().Click(window_, control.Center());
}

bool PurpleE2eTest::ClickSendMessageAndWaitForItsEnd() const {
  const TypedKeys keys(Session().Display());
  ClickControl(place::kSendMessage);
  return WaitUntil([&] { return keys.Releases("Return") >= 2; }, kEffectTimeout);
}

// The entries below are the test's own typing, not the program's. The first keys typed on this
// desktop right after a program that typed into another window was ended are sometimes lost, so
// an entry whose read-back differs is made again; what the program types is checked where it
// arrives, never retried.
constexpr int kEntryAttempts = 3;

std::optional<std::string> PurpleE2eTest::TypeIntoField(const Rect& field,
                                                        const std::string& text) const {
  std::optional<std::string> held;
  for (int attempt = 0; attempt < kEntryAttempts && held != text; ++attempt) {
    ClickControl(field);
    User().Key("ctrl+a");
    User().Type(text);
    held = ReadBack();
  }
  return held;
}

std::optional<std::string> PurpleE2eTest::PasteIntoField(const Rect& field,
                                                         const std::string& text) const {
  std::optional<std::string> held;
  for (int attempt = 0; attempt < kEntryAttempts && held != text; ++attempt) {
    // Offered anew each time: reading the box back puts its copy on the clipboard.
    const ClipboardOwner source(Session(), text);
    ClickControl(field);
    User().Key("ctrl+a ctrl+v");
    held = ReadBack();
  }
  return held;
}

std::optional<std::string> PurpleE2eTest::ReadBack() const {
  // The text is copied with a '#' added at its end: a clipboard that reads text and '#' holds the
  // copy made after every key before it, not an older one. The '#' is then taken away and the
  // box copied once more: the clipboard must then hold the text without it, so the box holds
  // exactly what is returned.
  User().Key("End numbersign ctrl+a ctrl+c");
  std::optional<std::string> copied;
  WaitUntil(
      [&] {
        copied = ReadClipboard(Session());
        return copied && !copied->empty() && copied->back() == '#';
      },
      kFieldTimeout, std::chrono::milliseconds(50));
  if (!copied || copied->empty() || copied->back() != '#') return std::nullopt;
  copied->pop_back();
  User().Key("End BackSpace ctrl+a ctrl+c");
  const bool clean = WaitUntil([&] { return ReadClipboard(Session()) == copied; }, kFieldTimeout,
                               std::chrono::milliseconds(50));
  if (!clean) return std::nullopt;
  return copied;
}

void PurpleE2eTest::PickStatus(StatusEntry entry) const {
  ASSERT_NO_THROW(
      User().PickFromDropDown(window_, program_->Pid(), place::kStatus, static_cast<int>(entry), 3))
      << program_->Describe();
}

std::vector<TextRow> PurpleE2eTest::ContactRows(const std::string& shot_name) const {
  return ListRows(Session(), window_, place::kContacts, Session().ScratchDir() / shot_name);
}

std::optional<WindowId> PurpleE2eTest::WaitForMessageBox(Clock::duration timeout) const {
  return User().WaitForOtherWindow(kCaption, window_, timeout);
}

bool PurpleE2eTest::DismissWithReturn(WindowId box) const {
  const auto gone = [&] {
    const auto windows = User().FindWindows(kCaption);
    return std::find(windows.begin(), windows.end(), box) == windows.end();
  };
  // A box only just shown may not have put the focus on its button yet: Return again then.
  for (int attempt = 0; attempt < kEntryAttempts; ++attempt) {
    User().Activate(box);
    User().Key("Return");
    if (WaitUntil(gone, std::chrono::seconds(2))) return true;
  }
  return false;
}

bool PurpleE2eTest::WaitForErrorText(const std::string& text, Clock::duration timeout) const {
  return WaitUntil([&] { return program_->ErrText().find(text) != std::string::npos; }, timeout);
}

std::map<std::string, std::string> PurpleE2eTest::VcardOnceNicknameIs(
    const std::string& name) const {
  std::map<std::string, std::string> vcard;
  WaitUntil(
      [&] {
        vcard = ReadVcard(people::kAlice + "/reader", people::kAlicePassword, people::kUser, Env());
        return vcard["NICKNAME"] == JsonString(name);
      },
      kEffectTimeout, std::chrono::milliseconds(300));
  return vcard;
}

Roster PurpleE2eTest::UserRoster() {
  return ServerRoster(people::kUser + "/observer", people::kUserPassword, Env());
}

Roster PurpleE2eTest::RosterOnce(const std::string& jid, bool listed) {
  Roster roster;
  WaitUntil(
      [&] {
        roster = UserRoster();
        return (roster.count(jid) == 1) == listed;
      },
      kEffectTimeout, std::chrono::milliseconds(300));
  return roster;
}

}  // namespace plumwick::e2e
