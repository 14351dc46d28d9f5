// Keys go only to the messaging client. Before each typing step the focused window must be one of
// the client's; until it is, the step waits (handling events) for at most three seconds, then fails
// and types nothing. Typing a private message into whatever window happens to have the focus, a
// terminal say, is not safe.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "messenger/messenger.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"

namespace plumwick::messenger {

inline constexpr std::chrono::milliseconds kFocusWait{3000};
// How often the focus is looked at while waiting: focus changes between other programs' windows
// send this one no event to wake up on.
inline constexpr std::chrono::milliseconds kFocusPoll{20};

struct FocusGuardParts {
  FocusedWindow& focus;
  Keystrokes& keys;
  Clock& clock;
  EventPump& pump;
};

// Waits until the client owns the focused window, then types the keys.
void TypeIntoClient(Messenger& msn, const FocusGuardParts& parts, const std::string& keys);

}  // namespace plumwick::messenger
