// The private desktop and the shared keystroke synthesizer of the keystroke test program.
#include "tests/x11/test_desktop.h"

#include <optional>
#include <stdexcept>

namespace plumwick::x11_test {
namespace {

e2e::DesktopSession* desktop = nullptr;
std::optional<e2e::DesktopUser> user;
std::unique_ptr<XdoKeystrokes> keys;

}  // namespace

e2e::DesktopSession& TestDesktop() {
  if (desktop == nullptr) throw std::logic_error("the test desktop has not been started");
  return *desktop;
}

const e2e::DesktopUser& TestUser() {
  if (!user) user.emplace(TestDesktop());
  return *user;
}

XdoKeystrokes& TestKeys() {
  if (!keys) keys = std::make_unique<XdoKeystrokes>(TestDesktop().Display());
  return *keys;
}

void SetTestDesktop(e2e::DesktopSession* session) {
  desktop = session;
  user.reset();
}

void ReleaseTestKeys() {
  keys.reset();
}

}  // namespace plumwick::x11_test
