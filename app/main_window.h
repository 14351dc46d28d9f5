// The window controller: owns the messaging client, routes every event of the window through one
// dispatcher that applies the cue rule (the button's cue first) and the failure rule (show the
// error, stop the handler, keep running), and holds the handlers. It draws nothing and knows no
// toolkit: the controls and the desktop come in through platform/ interfaces.
#pragma once

#include <cstddef>
#include <memory>

#include "messenger/client_typing.h"
#include "messenger/messenger.h"
#include "platform/button.h"
#include "platform/clipboard.h"
#include "platform/combo_box.h"
#include "platform/desktop.h"
#include "platform/error_report.h"
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

// The window's controls, by what they do. Their design names are in app/design.cpp.
struct MainWindowControls {
  ComboBox& status_box;
  Button& select_list;
  Button& clear_list;
  ListBox& contact_list;
  TextBox& address;
  TextBox& message;
  TextBox& nickname;
  Button& send_message;
  Button& add_contact;
  Button& delete_contact;
  Button& change_nickname;
  Button& sign_out;
  TextBox& pad;
  Button& clear_pad;
  Button& insert_time;
  Button& insert_date;
  Button& get_ip;
  Button& copy_pad;
  Button& exit_program;
  Label& title;
  SoundCue& click_cue;
  SoundCue& sign_out_cue;
  SoundCue& start_cue;
  LocalAddress& local_address;
};

// What the window itself asks of the desktop besides its controls.
struct MainWindowServices {
  Window& window;
  ErrorReport& errors;
  Clipboard& clipboard;
  TimeTexts& time_texts;
  WindowDrag& drag;
};

class MainWindow final {
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
  };

  MainWindow(const MainWindowControls& controls, const MainWindowServices& services,
             const Desktop& desktop, messenger::MessengerFactory create_client);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Runs the load handler and shows the window. Returns false when start-up failed: the error has
  // been shown and the window was never shown.
  bool Start();

  // Runs the handler of an event to its end under the cue and failure rules. Returns false when
  // the handler failed (the error has been shown).
  bool Dispatch(Event event);

 private:
  void OnLoad();
  void OnStatusPick();
  void OnSelectList();
  void OnClearList();
  void OnContactDoubleClick();
  void OnClearPad();
  void OnInsertTime();
  void OnInsertDate();
  void OnGetIP();
  void OnCopyPad();
  void OnSendMessage();
  void OnAddContact();
  void OnChangeNickName();
  void OnDeleteContact();
  void OnSignOut();
  void OnTitleMouseDown();
  void OnExit();

  enum class Cue { kNone, kClick, kSignOut, kStart };
  struct EventRow {
    Event event;
    Cue cue;
    void (MainWindow::*handler)();
  };
  static const EventRow kEventTable[];

  void PlayCue(Cue cue);
  scratchpad::PadControls pad() const;
  messenger::Messenger& client();
  messenger::ClientTyping typing();

  MainWindowControls c_;
  MainWindowServices services_;
  Desktop desktop_;
  messenger::MessengerFactory create_client_;
  std::unique_ptr<messenger::Messenger> client_;
};

}  // namespace plumwick
