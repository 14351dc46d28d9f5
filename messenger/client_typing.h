// Typing into the messaging client's windows, for the actions that finish a job by keys. Keys go
// only to the client: immediately before each typing step, and after any event processing, the
// focused window must be one the client owns for the job under way, and never one of the program's
// own; until it is, the step waits (handling events) for at most three seconds, then fails and
// types nothing. Typing a private message into whatever window happens to have the focus, a
// terminal say, is not safe, and a Space or Enter typed into the program's own window would press
// one of its buttons. A key the step must press that the user still holds down is waited for in
// the same way: its press would not arrive; and so is another program's hold on the keyboard (a
// screen locker, an open menu), which would take every key: also between the keys of a long text.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "messenger/messenger.h"
#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"

namespace plumwick::messenger {

// Checks the key notation of a text a job will type, before the job asks anything of the client,
// so that a bad text opens no conversation or dialog. `source` names where the text comes from as
// the user sees it ("the message box"). Throws Failure(kKeyNotation).
void CheckKeys(const std::string& keys, const std::string& source);

class ClientTyping {
 public:
  ClientTyping(Messenger& client, FocusedWindow& focus, Keystrokes& keys, EventWait& wait)
      : client_(client), focus_(focus), keys_(keys), wait_(wait) {}

  // A long text is typed in pieces of this many characters or keys, each waited for as a step.
  static constexpr std::size_t kPieceLength = 32;

  // Waits until the client owns the focused window, the user holds none of the keys down and no
  // other program holds the keyboard, then types the keys (key notation).
  void Type(const std::string& keys);
  // Waits while the window keeps handling events.
  void Pause(std::chrono::duration<double> interval) { wait_.Pause(interval); }

 private:
  // Waits until `keys` can go out to the client's window, and answers that window; throws
  // Failure when it does not come to that within kFocusWait.
  DesktopWindow WaitUntilReady(const std::string& keys);

  Messenger& client_;
  FocusedWindow& focus_;
  Keystrokes& keys_;
  EventWait& wait_;
  bool typed_ = false;  // whether an earlier step of this job typed its keys
};

}  // namespace plumwick::messenger
