// Typing into the messaging client's windows.
#include "messenger/client_typing.h"

#include "keynotation/key_notation.h"
#include "platform/failure.h"

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

namespace plumwick::messenger {

std::string DescribeFocus(const DesktopWindow& window) {
  if (window.id == 0) return "no window has the keyboard focus";
  if (window.own) return "the keyboard focus is on Plumwick's own window";
  std::string where = window.title.empty()
                          ? "the keyboard focus is on a window without a title"
                          : "the keyboard focus is on the window '" + window.title + "'";
  if (!window.program.empty()) where += " (" + window.program + ")";
  return where;
}

namespace {

// "Return", "Return and A", "Return, A and B".
std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

// The keys cut into pieces of at most kPieceLength characters or named keys each, so that the
// keyboard is looked at again between the keys of a long text.
std::vector<KeySequence> Pieces(const KeySequence& keys) {
  std::vector<KeySequence> pieces(1);
  std::size_t room = ClientTyping::kPieceLength;
  const auto make_room = [&] {
    if (room > 0) return;
    pieces.emplace_back();
    room = ClientTyping::kPieceLength;
  };
  for (const KeyToken& token : keys) {
    const auto* text = std::get_if<KeyText>(&token);
    if (text == nullptr) {
      make_room();
      pieces.back().push_back(token);
      --room;
      continue;
    }
    for (std::size_t at = 0; at < text->size();) {
      make_room();
      const std::size_t length = std::min(room, text->size() - at);
      pieces.back().emplace_back(text->substr(at, length));
      at += length;
      room -= length;
    }
  }
  return pieces;
}

}  // namespace

KeySequence ReadKeys(const std::string& text, const std::string& source) {
  try {
    return ParseKeyNotation(text);
  } catch (const Failure& failure) {
    throw Failure(failure.code(), "The text of " + source + " cannot be typed: " +
                                      failure.description() + ". Nothing was done.");
  }
}

void ClientTyping::Type(TypingJob& job, const KeySequence& keys) {
  BringForward(job);
  for (KeySequence first = job.KeysFirst(); !first.empty(); first = job.KeysFirst()) {
    TypeStep(job, first);
  }
  TypeStep(job, keys);
}

void ClientTyping::BringForward(TypingJob& job) {
  for (KeySequence keys = job.KeysToFront(); !keys.empty(); keys = job.KeysToFront()) {
    TypeStep(job, keys);
  }
}

void ClientTyping::TypeStep(TypingJob& job, const KeySequence& keys) {
  DesktopWindow focused;
  for (const KeySequence& piece : Pieces(keys)) {
    focused = WaitUntilReady(job, piece);
    keys_.Type(piece);
    typed_ = true;
  }
  job.KeysTyped(focused, keys);
}

DesktopWindow ClientTyping::WaitUntilReady(TypingJob& job, const KeySequence& keys) {
  DesktopWindow focused;
  std::vector<std::string> held;
  std::string blocked;
  // Asked anew after every batch of events and right before the keys go out: a click on the
  // program's window during the wait moves the focus there. A key the user still holds down (the
  // Return that closed a message box a moment ago) would swallow the job's press of it, so the
  // job also waits until the user lets go. Keys sent while another program holds the keyboard (a
  // screen locker, an open menu) would all go to that program, whatever has the focus.
  const bool ready = wait_.Until(kFocusWait, [&] {
    held.clear();
    blocked.clear();
    focused = focus_.Focused();
    job.PrepareForKeys(focused);
    if (focused.own || !job.TakesKeys(focused)) return false;
    held = keys_.HeldKeys(keys);
    if (!held.empty()) return false;
    blocked = keys_.Blocked();
    if (!blocked.empty()) return false;
    // A keyboard job holds the display's turn already; a double-click's keys wait here for
    // another Plumwick's job to end.
    if (keys_.TakeTurn()) return true;
    blocked = "another Plumwick on this display is typing its own job";
    return false;
  });
  if (ready) return focused;
  const char* const untyped = typed_ ? "the rest of the job was not typed" : "nothing was typed";
  if (!held.empty()) {
    throw Failure(error_code::kKeystrokes,
                  std::string(held.size() == 1 ? "The key " : "The keys ") + Listed(held) +
                      (held.size() == 1 ? " was" : " were") +
                      " held down for 3 seconds while the job had to press " +
                      (held.size() == 1 ? "it" : "them") + ", so " + untyped +
                      " (a key pressed while it is held down does not arrive)");
  }
  if (!blocked.empty()) {
    throw Failure(error_code::kKeystrokes,
                  "The keys could not reach the messaging client's window for 3 seconds: " +
                      blocked + ". So that none of them went there, " + untyped);
  }
  throw Failure(error_code::kFocus,
                "The messaging client's window did not take the keyboard focus within 3 "
                "seconds (" +
                    DescribeFocus(focused) + "), so " + untyped);
}

}  // namespace plumwick::messenger
