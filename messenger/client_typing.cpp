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

// "Return", "Return and A", "Return, A and B".
std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
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
  std::vector<std::string> held;
  // Asked anew after every batch of events and right before the keys go out: a click on the
  // program's window during the wait moves the focus there. A key the user still holds down (the
  // Return that closed a message box a moment ago) would swallow the job's press of it, so the
  // job also waits until the user lets go.
  const bool ready = wait_.Until(kFocusWait, [&] {
    held.clear();
    focused = focus_.Focused();
    client_.PrepareForKeys(focused);
    if (focused.own || !client_.OwnsWindow(focused)) return false;
    held = keys_.HeldKeys(keys);
    return held.empty();
  });
  const char* const untyped = typed_ ? "the rest of the job was not typed" : "nothing was typed";
  if (!ready && !held.empty()) {
    throw Failure(error_code::kKeystrokes,
                  std::string(held.size() == 1 ? "The key " : "The keys ") + Listed(held) +
                      (held.size() == 1 ? " was" : " were") +
                      " held down for 3 seconds while the job had to press " +
                      (held.size() == 1 ? "it" : "them") + ", so " + untyped +
                      " (a key pressed while it is held down does not arrive)");
  }
  if (!ready) {
    throw Failure(error_code::kFocus,
                  "The messaging client's window did not take the keyboard focus within 3 "
                  "seconds (" +
                      Describe(focused) + "), so " + untyped);
  }
  keys_.Type(keys);
  typed_ = true;
  client_.KeysTyped(focused, keys);
}

}  // namespace plumwick::messenger
