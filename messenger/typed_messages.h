// The messages that keys typed into a conversation send: what was typed into its entry up
// to each Enter, when there was something to send (Enter in an empty entry sends nothing). What
// the client reports sent is compared with these, so that a lost or changed key is not taken for a
// message sent.
#pragma once

#include <string>
#include <vector>

#include "keynotation/key_notation.h"

namespace plumwick::messenger {

class TypedMessages {
 public:
  // Adds the keys of one typing step.
  void Add(const KeySequence& keys);
  // The messages the keys so far have sent, oldest first.
  const std::vector<std::string>& Sent() const { return sent_; }
  // Whether Sent() holds their texts. Backspace takes back the last character typed; a key that
  // moves the caret or the focus (an arrow, Tab, Home, ...) makes the texts unknown, and only how
  // many messages were sent is known then.
  bool TextsKnown() const { return known_; }

 private:
  std::vector<std::string> sent_;
  std::u32string entry_;  // the text in the entry now
  bool known_ = true;
};

}  // namespace plumwick::messenger
