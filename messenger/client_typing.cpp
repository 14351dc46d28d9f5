// Typing into the messaging client's windows.
#include "messenger/client_typing.h"

#include "keynotation/key_notation.h"
#include "platform/failure.h"

namespace plumwick::messenger {

namespace {

// Where the keyboard focus is, as a person would name it: by the window's title and its program,
// never by a bare window id.
std::string Describe(const DesktopWindow& window) {
  if (window.id == 0) return "no window has the keyboard focus";
  if (window.own) return "the keyboard focus is on Plumwick's own window";
  std::string where = window.title.empty()
                          ? "the keyboard focus is on a window without a title"
                          : "the keyboard focus is on the window '" + window.title + "'";
  if (!window.program.empty()) where += " (" + window.program + ")";
  return where;
}

}  // namespace

void CheckKeys(const std::string& keys, const std::string& source) {
  try {
    ParseKeyNotation(keys);
  } catch (const Failure& failure) {
    throw Failure(failure.code(), "The text of " + source + " cannot be typed: " +
                                      failure.description() + ". Nothing was done.");
  }
}

void ClientTyping::Type(const std::string& keys) {
  DesktopWindow focused;
  // Asked anew after every batch of events and right before the keys go out: a click on the
  // program's window during the wait moves the focus there.
  const bool owned = wait_.Until(kFocusWait, [&] {
    focused = focus_.Focused();
    client_.PrepareForKeys(focused);
    return !focused.own && client_.OwnsWindow(focused);
  });
  if (!owned) {
    throw Failure(error_code::kFocus,
                  "The messaging client's window did not take the keyboard focus within 3 "
                  "seconds (" +
                      Describe(focused) + "), so " +
                      (typed_ ? "the rest of the job was not typed" : "nothing was typed"));
  }
  keys_.Type(keys);
  typed_ = true;
  client_.KeysTyped(focused, keys);
}

}  // namespace plumwick::messenger
