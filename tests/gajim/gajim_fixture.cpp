// The end-to-end tests of plumwick with a real Gajim.
#include "tests/gajim/gajim_fixture.h"

#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

GajimE2eTest::GajimE2eTest() : ProgramFixture(PLUMWICK_PROGRAM) {}

void GajimE2eTest::StartWorld(GajimBackend backend) {
  DesktopTest::SetUpTestSuite();
  StartSharedWorld(Session().Env(), backend);
}

void GajimE2eTest::TearDownTestSuite() {
  StopSharedWorld();
  DesktopTest::TearDownTestSuite();
}

void GajimE2eTest::SetUp() {
  DesktopTest::SetUp();
  if (HasFatalFailure()) return;
  ASSERT_TRUE(SharedWorld()) << "the test services did not start: " << SharedWorldError();
  // A test may have left Gajim signed out; every test starts signed in.
  if (World().gajim->Running() && Dbus().Status(gajim_people::kAccount) == "offline") {
    Dbus().ChangeStatus("online", "", gajim_people::kAccount);
  }
  ASSERT_NO_THROW(World().gajim->StartConnected());
  World().alice->SkipReceived();
  ASSERT_NO_FATAL_FAILURE(StartProgram());
}

void GajimE2eTest::TearDown() {
  if (program_) program_->Stop();
}

GajimWorld& GajimE2eTest::World() {
  return *SharedWorld();
}

bool GajimE2eTest::ServerRosterLists(const std::string& jid, bool listed) {
  return WaitUntil(
      [&] {
        const auto roster = ServerRoster(gajim_people::kUser + "/observer",
                                         gajim_people::kUserPassword, World().env);
        return (roster.count(jid) == 1) == listed;
      },
      kEffectTimeout, std::chrono::milliseconds(300));
}

}  // namespace plumwick::e2e
