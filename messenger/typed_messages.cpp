// The messages that keys typed into a conversation send.
#include "messenger/typed_messages.h"

#include <variant>

namespace plumwick::messenger {

void TypedMessages::Add(const KeySequence& keys) {
  for (const KeyToken& token : keys) {
    if (const auto* text = std::get_if<KeyText>(&token)) {
      entry_ += *text;
      continue;
    }
    const auto& press = std::get<KeyPress>(token);
    for (int i = 0; i < press.count; ++i) {
      if (press.key == NamedKey::kEnter) {
        if (!entry_.empty()) sent_.push_back(Utf8Of(entry_));
        entry_.clear();
      } else if (press.key == NamedKey::kBackspace) {
        if (!entry_.empty()) entry_.pop_back();
      } else {
        known_ = false;
      }
    }
  }
}

}  // namespace plumwick::messenger
