// Typing into the messaging client's windows.
#include "messenger/client_typing.h"

#include <cinttypes>
#include <cstdio>

#include "platform/failure.h"

namespace plumwick::messenger {

namespace {

std::string Describe(const DesktopWindow& window) {
  if (window.id == 0) return "no window has the keyboard focus";
  char text[96];
  std::snprintf(text, sizeof text, "window 0x%" PRIx64 " of process %" PRId64, window.id,
                window.pid);
  return std::string("the keyboard focus is on ") + text;
}

}  // namespace

void ClientTyping::Type(const std::string& keys) {
  DesktopWindow focused;
  const bool owned = wait_.Until(kFocusWait, [&] {
    focused = focus_.Focused();
    client_.PrepareForKeys(focused);
    return client_.OwnsWindow(focused);
  });
  if (!owned) {
    throw Failure(error_code::kFocus,
                  "The messaging client's window did not take the keyboard focus within 3 "
                  "seconds (" +
                      Describe(focused) + "), so nothing was typed");
  }
  keys_.Type(keys);
  client_.KeysTyped(focused);
}

}  // namespace plumwick::messenger
