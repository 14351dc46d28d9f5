// The window controller: owns the Messenger client, routes every event of the window through one
// dispatcher that applies the cue rule (the button's cue first) and the failure rule (show the
// error, stop the handler, keep running), and holds the handlers of start-up and exit.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "messenger/contact_actions.h"
#include "messenger/messenger.h"
#include "platform/button.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/combo_box.h"
#include "platform/error_report.h"
#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"
#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/local_address.h"
#include "platform/sound_cue.h"
#include "platform/text_box.h"
#include "platform/time_texts.h"
#include "platform/window.h"
#include "platform/window_drag.h"
#include "scratchpad/scratch_pad.h"

namespace plumwick {

// The controls of the window, by their design names.
struct frmMsnControls {
  ComboBox& cboStatus;
  Button& cmdload;
  Button& KewlButtons1;
  Button& KewlButtons2;
  Button& KewlButtons3;
  Button& KewlButtons4;
  Button& KewlButtons5;
  Button& KewlButtons6;
  Button& KewlButtons7;
  Button& KewlButtons8;
  Button& KewlButtons9;
  Button& KewlButtons10;
  Button& KewlButtons11;
  Button& KewlButtons12;
  ListBox& lbContacts;
  TextBox& Text1;
  TextBox& Text2;
  TextBox& Text3;
  TextBox& Text4;
  SoundCue& OLE1;
  SoundCue& OLE2;
  SoundCue& OLE3;
  LocalAddress& Winsock1;
  Label& Label1;
};

// What the window needs of the desktop besides its controls.
struct frmMsnDesktop {
  Window& window;
  ErrorReport& errors;
  Clock& clock;
  EventPump& pump;
  Clipboard& clipboard;
  TimeTexts& time_texts;
  Keystrokes& keys;
  FocusedWindow& focus;
  WindowDrag& drag;
};

class frmMsn final : private messenger::Typist {
 public:
  // Every event the window handles, one handler each.
  enum class Event : std::size_t {
    kLoad,
    kStatusPick,
    kSelectList,
    kClearList,
    kContactDoubleClick,
    kClearPad,
    kInsertTime,
    kInsertDate,
    kGetIP,
    kCopyPad,
    kSendMessage,
    kAddContact,
    kChangeNickName,
    kDeleteContact,
    kSignOut,
    kTitleMouseDown,
    kExit,
    kCount,
  };

  frmMsn(const frmMsnControls& controls, const frmMsnDesktop& desktop,
         messenger::MessengerFactory create_client);
  frmMsn(const frmMsn&) = delete;
  frmMsn& operator=(const frmMsn&) = delete;

  // Runs the load handler and shows the window. Returns false when start-up failed: the error has
  // been shown and the window was never shown.
  bool Start();

  // Runs the handler of an event to its end under the cue and failure rules. Returns false when
  // the handler failed (the error has been shown).
  bool Dispatch(Event event);

  // Waits for the interval while the window keeps processing its events, so other handlers run
  // nested inside the wait. It sleeps between events and measures on a clock that never runs
  // backwards, so a wait across midnight ends after its interval too.
  void Pause(std::chrono::duration<double> interval) override;

 private:
  // Types into the messaging client's focused window (see messenger/focus_guard.h).
  void Type(const std::string& keys) override;

  void Form_Load();
  void cboStatus_Click();
  void cmdload_Click();
  void KewlButtons1_Click();
  void lbContacts_DblClick();
  void KewlButtons2_Click();
  void KewlButtons3_Click();
  void KewlButtons4_Click();
  void KewlButtons5_Click();
  void KewlButtons6_Click();
  void KewlButtons8_Click();
  void KewlButtons9_Click();
  void KewlButtons10_Click();
  void KewlButtons11_Click();
  void KewlButtons12_Click();
  void Label1_MouseDown();
  void KewlButtons7_Click();

  enum class Cue { kNone, kOLE1, kOLE2, kOLE3 };
  struct EventRow {
    Event event;
    Cue cue;
    void (frmMsn::*action)();
  };
  static const EventRow kEventTable[];

  void PlayCue(Cue cue);
  scratchpad::PadControls pad() const;
  messenger::Messenger& msn();

  frmMsnControls c_;
  frmMsnDesktop desktop_;
  messenger::MessengerFactory create_client_;
  std::unique_ptr<messenger::Messenger> msn_;
};

}  // namespace plumwick
