// What the end-to-end tests of plumwick with Pidgin share.
#include "tests/purple/purple_fixture.h"

#include <filesystem>
#include <stdexcept>

#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/typed_keys.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/private_network.h"
#include "tests/purple/session_bus.h"
#include "tests/purple/xmpp_server.h"

namespace plumwick::e2e {

namespace {

// libpurple's status primitive for available.
constexpr std::int32_t kAvailable = 2;

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

PurpleE2eTest::PurpleE2eTest() : ProgramFixture(PLUMWICK_PROGRAM) {}

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

bool PurpleE2eTest::ClickSendMessageAndWaitForItsEnd() const {
  const TypedKeys keys(Session().Display());
  ClickControl(place::kSendMessage);
  return WaitUntil([&] { return keys.Releases("Return") >= 2; }, kEffectTimeout);
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
