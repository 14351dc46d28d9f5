// The window controller: owns the messaging client, routes every event of the window through one
// dispatcher that applies the cue rule (the button's cue first) and the failure rule (show the
// error, stop the handler, keep running), and holds the handlers. It draws nothing and knows no
// toolkit: the controls and the desktop come in through platform/ interfaces.
//
// One keyboard job at a time: the handlers that type into the client (Send Msg., Add contact,
// Change NickName) take turns. Clicked while another one's job runs (the click arrives inside
// that job's waits), such a handler's cue plays at the click, as the user hears it, and its action
// waits for its turn: it runs once the running job has ended, finished or failed, in the order of
// the clicks. Typing inside the other job's Pause would merge two messages into one and send keys
// into windows the other job opened. The list's double-click waits in the same line (the client
// may need keys to bring its conversation forward). Each of these reads the texts it needs at its
// click and carries them: the user may change the boxes before its turn comes. Handlers that do
// not type still run at once, nested in the wait; Exit ends everything at once, waiting jobs
// included. The keyboard jobs of every Plumwick on one display take turns in the same way: one
// keyboard serves them all.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "messenger/client_typing.h"
#include "messenger/messenger.h"
#include "platform/button.h"
#include "platform/clipboard.h"
#include "platform/combo_box.h"
#include "platform/desktop.h"
#include "platform/error_report.h"
#include "platform/key_shield.h"
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
  // Covers the window from the keys a job types: none of them acts on its controls.
  KeyShield& key_shield;
};

class MainWindow final {
 public:
  // The wait between two keyboard jobs, one after the other's end.
  static constexpr std::chrono::milliseconds kBetweenJobs{300};
  // How long a keyboard job waits for the job of another Plumwick on the same display to end.
  static constexpr std::chrono::milliseconds kTurnWait{20000};

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

  // Runs the handler of an event to its end under the cue and failure rules, or, for a handler
  // that takes turns clicked during another job, plays its cue and puts its action in line.
  // Returns false when the handler (or the cue of one put in line) failed: the error has been
  // shown.
  bool Dispatch(Event event);

  // Whether a keyboard job is under way (its own handler or one waiting for its turn).
  bool KeyboardJobRunning() const { return job_running_; }

 private:
  // What an action that takes turns read when its click was heard: only the texts it needs.
  struct ClickTexts {
    std::string address;
    std::string message;
    std::string nickname;
    std::string entry;  // the contact list's current entry
  };

  void OnLoad();
  void OnStatusPick();
  void OnSelectList();
  void OnClearList();
  void OnContactDoubleClick(const ClickTexts& at_click);
  void OnClearPad();
  void OnInsertTime();
  void OnInsertDate();
  void OnGetIP();
  void OnCopyPad();
  void OnSendMessage(const ClickTexts& at_click);
  void OnAddContact(const ClickTexts& at_click);
  void OnChangeNickName(const ClickTexts& at_click);
  void OnDeleteContact();
  void OnSignOut();
  void OnTitleMouseDown();
  void OnExit();

  enum class Cue { kNone, kClick, kSignOut, kStart };
  // Which handlers take turns. A keyboard job types into the client: it waits for this program's
  // other keyboard jobs and takes the display's keyboard from other programs' (kKeyboard). The
  // list's double-click may press keys that bring a conversation forward, which would land in
  // the middle of another job: it waits for this program's jobs (kInLine), and its keys, if any,
  // for the display's keyboard (the focus guard takes it). The rest run at once.
  enum class Turn { kNone, kInLine, kKeyboard };
  using Controls = const MainWindowControls&;
  using Handler = std::function<void()>;
  // A handler that takes turns runs on the texts of its click; the others read what they need.
  using PlainHandler = void (MainWindow::*)();
  using ClickHandler = void (MainWindow::*)(const ClickTexts& at_click);
  struct EventRow {
    Event event;
    Cue cue;
    Turn turn;
    std::variant<PlainHandler, ClickHandler> handler;
    void (*subscribe)(Controls controls, const Handler& dispatch);
  };
  static const EventRow kEventTable[];

  static const EventRow& RowOf(Event event);
  // Reads the boxes the event's action needs, in the order the action uses them.
  ClickTexts ReadAtClick(Event event) const;
  // The handler under the failure rule, after its cue when `cue` is set (the cue of an action
  // that takes turns has played at its click).
  bool Run(const EventRow& row, bool cue, const ClickTexts& at_click);
  // An action that takes turns, with what its click read.
  struct Job {
    Event event;
    ClickTexts at_click;
  };
  // Runs a keyboard job, then every job put in line meanwhile, in click order.
  bool RunJobs(const Job& first);
  void PlayCue(Cue cue);
  // Waits (handling events) until the display's keyboard is this program's, at most kTurnWait.
  void WaitForKeyboardTurn();
  scratchpad::PadControls pad() const;
  messenger::Messenger& client();
  messenger::ClientTyping typing();

  MainWindowControls c_;
  MainWindowServices services_;
  Desktop desktop_;
  messenger::MessengerFactory create_client_;
  std::unique_ptr<messenger::Messenger> client_;
  bool job_running_ = false;
  std::deque<Job> waiting_jobs_;  // clicked during a job, in click order
};

}  // namespace plumwick
