// The end-to-end tests of plumwick with a real Gajim: the shared services (GajimWorld) started
// once per test program with Gajim signed in, and plumwick started fresh for each test on them,
// driven only by clicks and typing at the places the window's design puts its controls.
#pragma once

#include <string>

#include "tests/e2e/harness/program_fixture.h"
#include "tests/gajim/gajim_dbus.h"
#include "tests/gajim/gajim_world.h"

namespace plumwick::e2e {

class GajimE2eTest : public ProgramFixture {
 protected:
  GajimE2eTest();
  static void SetUpTestSuite() { StartWorld(GajimBackend::kX11); }
  // The shared services with Gajim shown as `backend` says, signed in.
  static void StartWorld(GajimBackend backend);
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  static GajimWorld& World();
  static GajimDbus Dbus() { return GajimDbus(World().env); }
  Environment ProgramEnvironment() const override { return World().env; }

  // The user's roster on the server once it lists `jid` (or, when `listed` is false, once it does
  // not): whether it came to that in time.
  static bool ServerRosterLists(const std::string& jid, bool listed);
};

}  // namespace plumwick::e2e
