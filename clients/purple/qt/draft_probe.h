// Whether a Pidgin conversation's entry holds text the user typed there and did not send (a
// draft). Nothing over D-Bus reads the entry, and keys typed into it would join such text and go
// out with it. The probe types keys that leave the entry as it was and looks at what Pidgin made
// of them, in one of two ways:
//   - While Pidgin sends typing notifications (a preference, on by default): when a character is
//     typed into an entry that was empty, Pidgin announces that the user started typing and sets
//     the conversation's "type again" time; into an entry that holds text, it leaves that time
//     alone. The probe sets that time itself, moves the caret to the end of its line (leaving any
//     selection), types a space, takes it back with Backspace, and looks whether Pidgin changed
//     the time.
//   - Otherwise Pidgin reacts to nothing typed there. The probe takes X's primary selection, makes
//     sure the entry has the keyboard focus, moves the caret to the end of the entry, types a space
//     and selects everything from there to the start: GTK gives the selection to whoever asks for
//     it, so the probe reads the entry's text (the draft, and its own space last). Then it moves
//     the caret to the end again and takes its space back. Should another program take the
//     selection from Pidgin first, the entry is selected again. The selection the user had is
//     given back with every format it offered.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <QMimeData>
#include <QString>

#include "clients/purple/qt/purple_bus.h"
#include "keynotation/key_notation.h"
#include "platform/event_pump.h"

namespace plumwick::purple {

class DraftProbe {
 public:
  DraftProbe(PurpleBus& bus, Handle conversation) : bus_(bus), conversation_(conversation) {}
  // Gives the user's selection back also when the job ended between the steps.
  ~DraftProbe();
  DraftProbe(const DraftProbe&) = delete;
  DraftProbe& operator=(const DraftProbe&) = delete;

  // The keys of the probe's next step, to type into the conversation; none once it is done.
  KeySequence Keys();
  // Once the keys of a step were typed: waits (handling events) until Pidgin handled them, at most
  // `limit`. Throws Failure(kClientError) when Pidgin showed no sign of them, after the step that
  // leaves the entry as it was.
  void Typed(EventWait& wait, std::chrono::milliseconds limit);

  // Once the probe is done: whether the entry held text before it, and its first 40 characters
  // where it could be read.
  bool found() const { return found_; }
  const std::optional<std::string>& text() const { return text_; }

 private:
  KeySequence TimerKeys();
  void LookAtTimers(EventWait& wait, std::chrono::milliseconds limit);
  KeySequence SelectionKeys();
  void LookAtSelection(EventWait& wait, std::chrono::milliseconds limit);

  PurpleBus& bus_;
  const Handle conversation_;
  enum class Step {
    kFirst,        // the keys that make Pidgin show what the entry holds
    kLook,         // what Pidgin made of them
    kSelectAgain,  // the entry selected again: another program took the selection first
    kSelected,     // the keys that take the probe's space back
    kTakeBack,
    kDone,
  } step_ = Step::kFirst;
  bool by_selection_ = false;  // the way while Pidgin sends no typing notifications
  bool seen_ = false;          // whether Pidgin showed it handled the keys
  bool found_ = false;
  std::optional<std::string> text_;
  // The typing notifications' way: Pidgin's timers before and after the probe set them.
  Handle im_ = 0;
  std::int32_t typed_timer_ = 0;  // Pidgin's "typed" timer before the probe: it restarts on a key
  std::int32_t type_again_ = 0;   // the "type again" time the probe set
  std::int32_t type_again_before_ = 0;
  // The selection's way: what the user had selected, in every format it offered, given back after
  // the probe; and how often the entry was selected again.
  std::unique_ptr<QMimeData> user_selection_;
  int selected_again_ = 0;
};

}  // namespace plumwick::purple
