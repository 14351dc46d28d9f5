// Typing into the messaging client's windows, for the actions that finish a job by keys. Keys go
// only to the client: before each typing step, and after any event processing, the focused window
// must be one that takes the keys of the client's job under way, and never one of the program's
// own; until it is, the step waits (handling events) for at most three seconds, then fails and
// types nothing. Each key then goes out only while that window still has the focus (Keystrokes
// looks again before every key). Typing a private message into whatever window happens to have the
// focus, a terminal say, is not safe, and a Space or Enter typed into the program's own window
// would press one of its buttons. A key the step must press that the user still holds down is
// waited for in the same way: its press would not arrive; and so is another program's hold on the
// keyboard (a screen locker, an open menu), which would take every key: also between the keys of a
// long text.
//
// Once the job has typed, the focus on another program's window means the person went on
// elsewhere: the job stops at once, before its Enter, and says where the focus went. A click on the
// program's own window only holds the keys until the client's window has the focus again (the
// job asks for it back); should a key of the job reach the program's window, it is swallowed there.
// Every step ends once the window has read its keys (its read receipt): only then is the next
// step's Enter typed, and a keyboard layout changed before the reading, or a key that reached the
// program's own window during the step, fails the job before it.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "messenger/messenger.h"
#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/key_shield.h"
#include "platform/keystrokes.h"

namespace plumwick::messenger {

// Where the keyboard focus is, as a person would name it in an error: by the window's title and
// its program, never by a bare window id ("the keyboard focus is on the window 'x' (bash)").
std::string DescribeFocus(const DesktopWindow& window);

class ClientTyping {
 public:
  // `shield`, when there is one, covers the program's own windows from the keys typed.
  ClientTyping(FocusedWindow& focus, Keystrokes& keys, EventWait& wait, KeyShield* shield = nullptr)
      : focus_(focus), keys_(keys), wait_(wait), shield_(shield) {}
  ClientTyping(const ClientTyping&) = delete;
  ClientTyping& operator=(const ClientTyping&) = delete;

  // Reads the key notation of a text a job will type and checks that the keyboard can type it
  // all, before the job asks anything of the client, so that a bad text opens no conversation or
  // dialog. `source` names where the text comes from as the user sees it ("the message box").
  // Throws Failure(kKeyNotation) for a text that is not key notation or holds a control
  // character, Failure(kKeystrokes) for characters no key can type now.
  KeySequence Read(const std::string& text, const std::string& source);

  // A long text is typed in pieces of this many characters or keys, each waited for as a step.
  static constexpr std::size_t kPieceLength = 32;

  // Types the job's steps of its own (OwnKeys), each as guarded as any other and confirmed by
  // the job, until it is ready for the program's keys; the job throws once it cannot get there.
  // Once for each job, before its first Type.
  void Prepare(TypingJob& job) { TypeOwnSteps(job, true); }
  // The same for a job that types nothing else: its window only comes in front.
  void BringForward(TypingJob& job) { TypeOwnSteps(job, false); }
  // Waits until the focused window takes the job's keys, the user holds none of the keys down and
  // no other program holds the keyboard, types the keys, and runs the job's confirmation of them;
  // then types the job's steps of its own that follow them (ClosingKeys) in the same way. Types
  // nothing for a job that has finished.
  void Type(TypingJob& job, const KeySequence& keys);
  // Waits while the window keeps handling events.
  void Pause(std::chrono::duration<double> interval) { wait_.Pause(interval); }

 private:
  void TypeOwnSteps(TypingJob& job, bool keys_follow);
  // Types one step, once it can go out to the job's window.
  void TypeStep(TypingJob& job, const KeySequence& keys);
  // Waits until `keys` can go out to the job's window, and answers that window; throws Failure
  // when it does not come to that within kFocusWait, and at once when the focus is on another
  // program's window after the job typed.
  DesktopWindow WaitUntilReady(TypingJob& job, const KeySequence& keys);
  // Waits for the window's read receipt of the keys typed so far; throws Failure when it does not
  // come in time.
  void AwaitReadReceipt(const DesktopWindow& window);

  FocusedWindow& focus_;
  Keystrokes& keys_;
  EventWait& wait_;
  KeyShield* shield_;
  // The window the job typed into last; none (id 0) before its first key.
  DesktopWindow typed_into_;
  std::size_t unread_ = 0;  // characters and keys typed since the last read receipt
};

}  // namespace plumwick::messenger
