// The end-to-end tests of plumwick-sandbox: each test starts plumwick-sandbox with the desktop's
// environment. PLUMWICK_SANDBOX_PROGRAM comes with the build's plumwick_e2e_sandbox target.
#pragma once

#include "tests/e2e/harness/program_fixture.h"

namespace plumwick::e2e {

class SandboxFixture : public ProgramFixture {
 protected:
  SandboxFixture() : ProgramFixture(PLUMWICK_SANDBOX_PROGRAM) {}
};

}  // namespace plumwick::e2e
