// Typing into the messaging client's windows, for the actions that finish a job by keys. Keys go
// only to the client: before each typing step the focused window must be one the client owns;
// until it is, the step waits (handling events) for at most three seconds, then fails and types
// nothing. Typing a private message into whatever window happens to have the focus, a terminal
// say, is not safe.
#pragma once

#include <chrono>
#include <string>

#include "messenger/messenger.h"
#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"

namespace plumwick::messenger {

class ClientTyping {
 public:
  ClientTyping(Messenger& client, FocusedWindow& focus, Keystrokes& keys, EventWait& wait)
      : client_(client), focus_(focus), keys_(keys), wait_(wait) {}

  // Waits until the client owns the focused window, then types the keys (key notation).
  void Type(const std::string& keys);
  // Waits while the window keeps handling events.
  void Pause(std::chrono::duration<double> interval) { wait_.Pause(interval); }

 private:
  Messenger& client_;
  FocusedWindow& focus_;
  Keystrokes& keys_;
  EventWait& wait_;
};

}  // namespace plumwick::messenger
