// The end-to-end tests of plumwick with a real Gajim.
#include "tests/gajim/gajim_fixture.h"

#include <memory>
#include <stdexcept>

#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/private_network.h"

namespace plumwick::e2e {

namespace {

std::unique_ptr<GajimWorld> world;
std::string world_error;

}  // namespace

GajimE2eTest::GajimE2eTest() : ProgramFixture(PLUMWICK_PROGRAM) {}

void GajimE2eTest::StartWorld(GajimBackend backend) {
  DesktopTest::SetUpTestSuite();
  world_error = PrivateNetworkProblem();
  if (!world_error.empty()) return;
  try {
    world = std::make_unique<GajimWorld>(Session().Env(), backend);
    world->gajim->StartConnected();
  } catch (const std::exception& error) {
    world.reset();
    world_error = error.what();
  }
}

void GajimE2eTest::TearDownTestSuite() {
  world.reset();
  DesktopTest::TearDownTestSuite();
}

void GajimE2eTest::SetUp() {
  DesktopTest::SetUp();
  if (HasFatalFailure()) return;
  // Failed, not skipped: a machine that cannot run these is a broken test machine.
  ASSERT_TRUE(world) << "the test services did not start: " << world_error;
  // A test may have left Gajim signed out; every test starts signed in.
  if (world->gajim->Running() && Dbus().Status(gajim_people::kAccount) == "offline") {
    Dbus().ChangeStatus("online", "", gajim_people::kAccount);
  }
  ASSERT_NO_THROW(world->gajim->StartConnected());
  world->alice->SkipReceived();
  ASSERT_NO_FATAL_FAILURE(StartProgram());
}

void GajimE2eTest::TearDown() {
  if (program_) program_->Stop();
}

GajimWorld& GajimE2eTest::World() {
  return *world;
}

bool GajimE2eTest::ServerRosterLists(const std::string& jid, bool listed) {
  return WaitUntil(
      [&] {
        const auto roster = ServerRoster(gajim_people::kUser + "/observer",
                                         gajim_people::kUserPassword, world->env);
        return (roster.count(jid) == 1) == listed;
      },
      kEffectTimeout, std::chrono::milliseconds(300));
}

}  // namespace plumwick::e2e
