// Bringing a Pidgin conversation's tab to the front.
#include "clients/purple/qt/conversation_tab.h"

#include <vector>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// How long Pidgin is given to switch tabs on a Ctrl+Page Down: it does so as it handles the key.
constexpr std::chrono::milliseconds kTabSwitchWait{1000};

}  // namespace

Handle ConversationTab::InFrontInstead(const DesktopWindow& window) {
  if (window.id == 0 || window.own || window.pid != bus_.ServiceProcess() ||
      !desktop_.windows.HasInputFocus(window.id) ||
      bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0) {
    return 0;
  }
  // Pidgin says which conversation has the focus, in its window and in front there; chats are
  // tabs too.
  std::vector<QVariantList> others;
  for (const Handle other : bus_.CallIntArray("PurpleGetConversations")) {
    if (other != conversation_) others.push_back({Int(other)});
  }
  const std::vector<QVariant> focus = bus_.CallEach("PurpleConversationHasFocus", "i", others);
  for (std::size_t i = 0; i < focus.size(); ++i) {
    if (focus[i].toInt() != 0) return others[i].front().toInt();
  }
  return 0;
}

bool ConversationTab::Behind(const DesktopWindow& window) {
  front_ = InFrontInstead(window);
  if (front_ == 0) return false;
  window_ = window.id;
  window_title_ = window.title;
  // Each press shows the next tab, the last one's next being the first: as many presses as
  // there are conversations, and one for good measure, pass every tab of any window.
  press_limit_ = bus_.CallIntArray("PurpleGetConversations").size() + 1;
  return true;
}

KeySequence ConversationTab::Keys(bool in_front) {
  if (in_front) return {};
  if (presses_ >= press_limit_) {
    throw Failure(error_code::kFocus,
                  "Pidgin's conversation with \"" + contact_ +
                      "\" did not come forward: " + std::to_string(presses_) +
                      " presses of Ctrl+Page Down in Pidgin's window '" + window_title_ +
                      "' showed its other tabs but never this conversation. Nothing more was "
                      "typed");
  }
  // The conversation in front now: its tab goes behind once Pidgin handled the key.
  if (const Handle front = InFrontInstead(desktop_.focus.Focused()); front != 0) front_ = front;
  return {KeyPress{.key = NamedKey::kPageDown, .count = 1, .control = true}};
}

bool ConversationTab::TakesKeys(const DesktopWindow& window) {
  return window.id != 0 && window.id == window_ && InFrontInstead(window) != 0;
}

void ConversationTab::Typed(const DesktopWindow& window) {
  ++presses_;
  window_ = window.id;
  window_title_ = window.title;
}

void ConversationTab::AwaitSwitch() {
  desktop_.wait.Until(kTabSwitchWait, [&] {
    return bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0 ||
           bus_.CallInt("PurpleConversationHasFocus", {Int(front_)}) == 0;
  });
}

}  // namespace plumwick::purple
