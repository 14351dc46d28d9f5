// The private desktop and the shared keystroke synthesizer of the keystroke test program.
#include "tests/x11/test_desktop.h"

#include <stdexcept>

#include "keynotation/key_notation.h"

namespace plumwick::x11_test {
namespace {

TypingDesktop* desktop = nullptr;
std::unique_ptr<XdoKeystrokes> keys;

}  // namespace

TypingDesktop& TestDesktop() {
  if (desktop == nullptr) throw std::logic_error("the test desktop has not been started");
  return *desktop;
}

XdoKeystrokes& TestKeys() {
  if (!keys) keys = std::make_unique<XdoKeystrokes>(TestDesktop().Display());
  return *keys;
}

void TypeNotation(std::string_view notation) {
  TestKeys().Type(ParseKeyNotation(notation));
}

void SetTestDesktop(TypingDesktop* session) {
  desktop = session;
}

void ReleaseTestKeys() {
  keys.reset();
}

}  // namespace plumwick::x11_test
