// The window controller: owns the messaging client, routes every event of the window through one
// dispatcher that applies the cue rule (the button's cue first) and the failure rule (show the
// error, stop the handler, keep running), and holds the handlers. It draws nothing and knows no
// toolkit: the controls and the desktop come in through platform/ interfaces.
//
// The handlers that type into the client (Send Msg., Add contact, Change NickName, and Delete
// Contact, which a client may ask about first) and the list's double-click (the client may need
// keys to bring its conversation forward) take turns in KeyboardJobs: clicked during another
// one's job, such a handler's cue plays at the click and its action waits for its turn with the
// texts it read then. The other handlers run at once, nested in the job's waits; Exit ends
// everything at once, waiting jobs included.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <variant>

#include "app/keyboard_jobs.h"
#include "app/main_window_parts.h"
#include "messenger/client_typing.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"
#include "scratchpad/scratch_pad.h"

namespace plumwick {

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

  // Runs the handler of an event to its end under the cue and failure rules, or, for a handler
  // that takes turns clicked during another job, plays its cue and puts its action in line. False
  // when the handler (or the cue of one put in line) failed: the error has been shown.
  bool Dispatch(Event event);

  // Whether a keyboard job is under way (its own handler or one waiting for its turn).
  bool KeyboardJobRunning() const { return jobs_.Running(); }

 private:
  // A handler, or an action. A handler that takes turns reads what it needs of the boxes at its
  // click and returns the action that runs in its turn: the user may change the boxes meanwhile.
  using Handler = std::function<void()>;

  void OnLoad();
  void OnStatusPick();
  void OnSelectList();
  void OnClearList();
  Handler OnContactDoubleClick();
  void OnClearPad();
  void OnInsertTime();
  void OnInsertDate();
  void OnGetIP();
  void OnCopyPad();
  Handler OnSendMessage();
  Handler OnAddContact();
  Handler OnChangeNickName();
  Handler OnDeleteContact();
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
  using PlainHandler = void (MainWindow::*)();
  using TurnHandler = Handler (MainWindow::*)();
  struct EventRow {
    Event event;
    Cue cue;
    Turn turn;
    std::variant<PlainHandler, TurnHandler> handler;
    void (*subscribe)(Controls controls, const Handler& dispatch);
  };
  static const EventRow kEventTable[];

  static const EventRow& RowOf(Event event);
  // Runs `step` under the failure rule: false when it failed, its error shown.
  bool Guarded(const Handler& step);
  void PlayCue(Cue cue);
  scratchpad::PadControls pad() const;
  messenger::Messenger& client();
  messenger::ClientTyping typing();

  MainWindowControls c_;
  MainWindowServices services_;
  Desktop desktop_;
  messenger::MessengerFactory create_client_;
  std::unique_ptr<messenger::Messenger> client_;
  KeyboardJobs jobs_;
};

}  // namespace plumwick
