// Typing into the messaging client's windows.
#include "messenger/client_typing.h"

#include "keynotation/key_notation.h"
#include "platform/failure.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
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

// A control character no key types (all but newline and tab), and where it is, counted from 0 in
// characters; nullopt when the text has none.
std::optional<std::pair<char32_t, std::size_t>> ControlCharacter(const std::string& utf8) {
  std::size_t position = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0xC0) == 0x80) continue;  // inside a character
    char32_t c = byte;
    // U+0080..U+009F are the only other controls: C2 80 to C2 9F.
    if (byte == 0xC2 && i + 1 < utf8.size()) {
      c = 0x80 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
    }
    const bool control = (c < 0x20 && c != U'\n' && c != U'\t') || (c >= 0x7F && c < 0xA0);
    if (control) return std::pair{c, position};
    ++position;
  }
  return std::nullopt;
}

// How many keys may go out before the window has read them: a window that reads slower than keys
// go out (a long word laid out anew for every key, a window of this program's own, which reads
// only while this program waits) would otherwise have thousands waiting ahead of a click.
constexpr std::size_t kReadAhead = 256;

// How long another program's window must keep the focus to count as the person's move there.
constexpr std::chrono::milliseconds kFocusTaken{200};

// How long the window may take to read the keys typed since its last receipt: a client reads
// typed keys as it handles them, Pidgin a long text without spaces at up to 13 ms a key.
std::chrono::milliseconds ReceiptWait(std::size_t unread) {
  return std::chrono::milliseconds(5000) + std::chrono::milliseconds(20) * unread;
}

// The key notation of a text; `source` names where it comes from.
KeySequence ReadKeys(const std::string& text, const std::string& source) {
  const auto refuse = [&](const std::string& why) {
    return Failure(error_code::kKeyNotation,
                   "The text of " + source + " cannot be typed: " + why + ". Nothing was done.");
  };
  KeySequence keys;
  try {
    keys = ParseKeyNotation(text);
  } catch (const Failure& failure) {
    throw refuse(failure.description());
  }
  if (const auto control = ControlCharacter(text)) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(control->first));
    throw refuse("at the " + Ordinal(control->second + 1) + " character, the control character " +
                 code + " is no key to type");
  }
  return keys;
}

}  // namespace

KeySequence ClientTyping::Read(const std::string& text, const std::string& source) {
  KeySequence keys = ReadKeys(text, source);
  if (const std::string untypable = keys_.Untypable(keys); !untypable.empty()) {
    throw Failure(error_code::kKeystrokes, "The text of " + source + " cannot be typed: it has " +
                                               untypable + ". Nothing was done.");
  }
  return keys;
}

void ClientTyping::TypeOwnSteps(TypingJob& job, bool keys_follow) {
  for (KeySequence keys = job.OwnKeys(keys_follow); !keys.empty();
       keys = job.OwnKeys(keys_follow)) {
    TypeStep(job, keys);
  }
}

void ClientTyping::Type(TypingJob& job, const KeySequence& keys) {
  if (job.Finished()) return;
  TypeStep(job, keys);
  for (KeySequence own = job.ClosingKeys(); !own.empty(); own = job.ClosingKeys()) {
    TypeStep(job, own);
  }
}

void ClientTyping::TypeStep(TypingJob& job, const KeySequence& keys) {
  const std::size_t swallowed = shield_ != nullptr ? shield_->Swallowed() : 0;
  DesktopWindow window;
  // Since when the focus check and the keys disagree (the focus moving), when they do.
  bool stalled = false;
  Clock::TimePoint stalled_at{};
  bool typed_any = false;
  for (KeySequence rest : Pieces(keys)) {
    // An empty step too waits for the window: the job hears of it where it went.
    do {
      window = WaitUntilReady(job, rest);
      const TypedKeys typed = keys_.Type(rest, window.id);
      // Before the window handles any event: one of these keys may reach it.
      if (shield_ != nullptr && typed.keys > 0) shield_->Cover(typed.from_stamp, typed.to_stamp);
      if (typed.keys > 0) {
        typed_any = true;
        typed_into_ = window;
        unread_ += typed.keys;
        rest = KeysAfter(rest, typed.keys);
        stalled = false;
      }
      if (typed.stop == TypedKeys::Stop::kUnread || unread_ >= kReadAhead) {
        // Also so that the window reads as it goes: keys it has not read yet come before any
        // click or key of the person's, in its program and, for a window of this program, here.
        AwaitReadReceipt(window);
      } else if (typed.stop == TypedKeys::Stop::kKeyboardBusy) {
        // A key pressed or a grab taken since the wait: waited for again, as before the first key.
        wait_.Pause(EventWait::kPoll);
      } else if (typed.stop == TypedKeys::Stop::kFocusLeft && typed.keys == 0) {
        // The desktop named the window while the keys found the focus elsewhere: it is moving.
        if (!stalled) stalled_at = wait_.Now();
        stalled = true;
        if (wait_.Now() - stalled_at >= kFocusWait) {
          throw Failure(error_code::kFocus,
                        "The keyboard focus did not stay on the messaging client's window for "
                        "3 seconds (" +
                            DescribeFocus(focus_.Focused()) + "), so " +
                            (typed_into_.id != 0 ? "the rest of the job was not typed"
                                                 : "nothing was typed"));
        }
        wait_.Pause(EventWait::kPoll);
      }
    } while (!rest.empty());
  }
  if (typed_any) AwaitReadReceipt(window);
  if (shield_ != nullptr && shield_->Swallowed() != swallowed) {
    const std::size_t count = shield_->Swallowed() - swallowed;
    const bool one = count == 1;
    throw Failure(error_code::kFocus,
                  std::to_string(count) + (one ? " key" : " keys") +
                      " reached Plumwick's own window while the job typed, where " +
                      (one ? "it was" : "they were") + " ignored; " + (one ? "it" : "they") +
                      " may have been the job's, so the rest of the job was not typed");
  }
  job.KeysTyped(window, keys);
  job.AwaitConfirmation();
}

void ClientTyping::AwaitReadReceipt(const DesktopWindow& window) {
  keys_.AskReadReceipt(window.id);
  const std::chrono::milliseconds limit = ReceiptWait(unread_);
  if (!wait_.Until(limit, [&] { return keys_.ReadReceiptCame(); })) {
    char seconds[16];
    std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(limit.count()) / 1000);
    throw Failure(error_code::kNoAnswer,
                  std::string("The messaging client did not read the keys typed into its window "
                              "within ") +
                      seconds +
                      " seconds (it may be busy or hung), so the rest of the job was not typed");
  }
  unread_ = 0;
}

DesktopWindow ClientTyping::WaitUntilReady(TypingJob& job, const KeySequence& keys) {
  DesktopWindow focused;
  std::vector<std::string> held;
  std::string blocked;
  DesktopWindow elsewhere;  // another program's window that has the focus, and since when
  Clock::TimePoint elsewhere_since{};
  // Asked anew after every batch of events and right before the keys go out: a click on the
  // program's window during the wait moves the focus there. A key the user still holds down (the
  // Return that closed a message box a moment ago) would swallow the job's press of it, so the
  // job also waits until the user lets go. Keys sent while another program holds the keyboard (a
  // screen locker, an open menu) would all go to that program, whatever has the focus.
  const bool ready = wait_.Until(kFocusWait, [&] {
    held.clear();
    blocked.clear();
    focused = focus_.Focused();
    // The person went on in another program: the job's keys must not follow, nor bring the
    // client's window back over theirs. A window that has the focus only for a moment (the window
    // manager's own while a closed window's focus passes on) is no such move.
    if (typed_into_.id != 0 && !focused.own && focused.id != 0 && focused.pid != typed_into_.pid &&
        !job.TakesKeys(focused)) {
      if (elsewhere.id != focused.id) {
        elsewhere = focused;
        elsewhere_since = wait_.Now();
      } else if (wait_.Now() - elsewhere_since >= kFocusTaken) {
        throw Failure(error_code::kFocus,
                      "The keyboard focus moved away from the messaging client's window while "
                      "the job typed (" +
                          DescribeFocus(focused) + "), so the rest of the job was not typed");
      }
      return false;
    }
    elsewhere = {};
    // A click on the program's window ends before the client's window comes back: taken back
    // while the button is down, the click would do nothing (EXIT PROGRAM! included).
    if (focused.own) {
      blocked = keys_.Blocked();
      if (!blocked.empty()) return false;
    }
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
  const char* const untyped =
      typed_into_.id != 0 ? "the rest of the job was not typed" : "nothing was typed";
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
