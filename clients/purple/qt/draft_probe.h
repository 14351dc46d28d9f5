// Whether a Pidgin conversation's entry holds text the user typed there and did not send (a
// draft). Nothing over D-Bus reads the entry, and keys typed into it would join such text and go
// out with it. Pidgin does tell one thing: when a character is typed into an entry that was empty,
// it announces that the user started typing and sets the conversation's "type again" time; into
// an entry that holds text, it leaves that time alone. The probe sets that time itself, moves the
// caret to the end of its line (leaving any selection), types a space and takes it back with
// Backspace, which leaves the entry as it was, and looks whether Pidgin changed the time.
#pragma once

#include "clients/purple/qt/purple_bus.h"
#include "keynotation/key_notation.h"
#include "platform/event_pump.h"

namespace plumwick::purple {

class DraftProbe {
 public:
  DraftProbe(PurpleBus& bus, Handle conversation) : bus_(bus), conversation_(conversation) {}

  // Whether Pidgin reacts to keys in the entry as the probe needs: only while it sends typing
  // notifications (a preference the user may have turned off).
  bool Possible();
  // Readies Pidgin for the probe and returns its keys.
  KeySequence Keys();
  // Once the keys were typed into the conversation: waits (handling events) until Pidgin handled
  // the space, and answers whether the entry held text before it. Throws Failure(kClientError)
  // when Pidgin shows no sign of the space within `limit`.
  bool FoundDraft(EventWait& wait, std::chrono::milliseconds limit);

 private:
  PurpleBus& bus_;
  const Handle conversation_;
  Handle im_ = 0;
  std::int32_t typed_timer_ = 0;  // Pidgin's "typed" timer before the probe: it restarts on a key
  std::int32_t type_again_ = 0;   // the "type again" time the probe set
  std::int32_t type_again_before_ = 0;
};

}  // namespace plumwick::purple
