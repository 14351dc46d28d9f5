// Bringing a Pidgin conversation's tab to the front. Pidgin presents a conversation by raising its
// window, and leaves another conversation's tab in front there; it switches tabs on its own only
// for the user's click or key. So the tab comes forward by Ctrl+Page Down (Pidgin's next tab),
// typed into that window through the focus guard, each press once Pidgin handled the one before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "clients/purple/qt/purple_bus.h"
#include "keynotation/key_notation.h"
#include "platform/desktop.h"

namespace plumwick::purple {

class ConversationTab {
 public:
  ConversationTab(PurpleBus& bus, const ClientDesktop& desktop, Handle conversation,
                  const std::string& contact)
      : bus_(bus), desktop_(desktop), conversation_(conversation), contact_(contact) {}

  // Another conversation that Pidgin shows in front in the window, when the window is Pidgin's
  // and has the focus; 0 when there is none.
  Handle InFrontInstead(const DesktopWindow& window);
  // Whether another conversation is in front in the window; when it is, the presses start there.
  bool Behind(const DesktopWindow& window);
  // The next Ctrl+Page Down; none once `in_front` says the conversation is. Throws
  // Failure(kFocus) once as many presses as Pidgin has conversations, and one more, did not
  // bring it in front.
  KeySequence Keys(bool in_front);
  // Only the window that holds the conversation while it shows another one takes the presses:
  // there they switch tabs and type nothing.
  bool TakesKeys(const DesktopWindow& window);
  // A press went into the window.
  void Typed(const DesktopWindow& window);
  // Waits until Pidgin handled the press: one more would pass the tab.
  void AwaitSwitch();

  // The window that holds the conversation's tab; 0 before Behind found one.
  std::uint64_t window() const { return window_; }

 private:
  PurpleBus& bus_;
  const ClientDesktop desktop_;
  const Handle conversation_;
  const std::string contact_;
  std::uint64_t window_ = 0;
  std::string window_title_;
  Handle front_ = 0;  // the conversation in front as last seen
  std::size_t presses_ = 0;
  std::size_t press_limit_ = 0;
};

}  // namespace plumwick::purple
