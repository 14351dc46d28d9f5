// Doubles of the platform and the messaging client for unit tests of the window's logic. Every call
// is written to one shared log as "Object.Call(arguments)", and any call can be made to fail.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "messenger/messenger.h"
#include "platform/failure.h"

namespace plumwick::testing {

inline constexpr std::int32_t kInjectedCode = 0x7E57;

// The calls made so far, in order, and the one call chosen to fail.
class CallLog {
 public:
  // Records the call and throws the injected failure when it is the chosen one. `call` is the name
  // ("Text1.SetText"); `arguments` are shown in the log only.
  void Record(const std::string& call, const std::string& arguments = "");
  // Makes the n-th call named `call` (counting from 1) throw Failure(kInjectedCode, ...).
  void FailAt(const std::string& call, int occurrence = 1);

  std::vector<std::string> calls;  // "Name(arguments)"

 private:
  std::string fail_call_;
  int fail_occurrence_ = 0;
  int seen_ = 0;
};

// The keys of each keystrokes.Type call among `calls`, in key notation, in order.
std::vector<std::string> TypedSteps(const std::vector<std::string>& calls);

class FakeTextBox final : public TextBox {
 public:
  FakeTextBox(CallLog& log, std::string name, std::string initial = "")
      : log_(log), name_(std::move(name)), text(std::move(initial)) {}
  std::string Text() const override;
  void SetText(const std::string& value) override;
  void ReplaceSelection(const std::string& value) override;
  // The user selects `length` bytes from `start` (the caret ends at the selection's end).
  void Select(std::size_t start, std::size_t length);

 private:
  CallLog& log_;
  std::string name_;

 public:
  std::string text;
  std::size_t caret = 0, selection_start = 0, selection_length = 0;
};

class FakeButton final : public Button {
 public:
  FakeButton(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void SetEnabled(bool value) override;
  void OnClick(std::function<void()> handler) override { on_click_ = std::move(handler); }
  // A user's click: a disabled button raises none.
  void Click();

  bool enabled = true;

 private:
  CallLog& log_;
  std::string name_;
  std::function<void()> on_click_;
};

class FakeListBox final : public ListBox {
 public:
  FakeListBox(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void Append(const std::string& entry) override;
  void Clear() override;
  std::string CurrentText() const override;
  void OnDoubleClick(std::function<void()> handler) override {
    on_double_click_ = std::move(handler);
  }
  void DoubleClick() { on_double_click_(); }

  std::vector<std::string> entries;
  int current = -1;  // no entry selected

 private:
  CallLog& log_;
  std::string name_;
  std::function<void()> on_double_click_;
};

class FakeComboBox final : public ComboBox {
 public:
  FakeComboBox(CallLog& log, std::string name, std::string initial)
      : log_(log), name_(std::move(name)), text(std::move(initial)) {}
  void Append(const std::string& entry) override;
  std::string Text() const override;
  void OnPick(std::function<void()> handler) override { on_pick_ = std::move(handler); }
  void UndoPick() override;
  // The user picks an entry from the list: its text becomes the box's text and the event fires.
  void Pick(std::size_t index);
  // The user types into the edit field: no event.
  void Type(const std::string& value) { text = value; }

  std::vector<std::string> entries;

 private:
  CallLog& log_;
  std::string name_;
  std::function<void()> on_pick_;
  std::string before_pick_;

 public:
  std::string text;
};

class FakeSoundCue final : public SoundCue {
 public:
  FakeSoundCue(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void Play() override { log_.Record(name_ + ".Play"); }

 private:
  CallLog& log_;
  std::string name_;
};

// Thrown by FakeWindow::End, which must not return; tests catch it where the program would end.
struct ProgramEnded {};

class FakeWindow final : public Window {
 public:
  explicit FakeWindow(CallLog& log) : log_(log) {}
  void ShowAndActivate() override;
  [[noreturn]] void End() override;
  bool shown = false;

 private:
  CallLog& log_;
};

class FakeErrorReport final : public ErrorReport {
 public:
  void Show(const Failure& failure) override { shown.push_back(failure); }
  std::vector<Failure> shown;
};

// A clock that moves only when told to, or when the pump sleeps.
class FakeClock final : public Clock {
 public:
  TimePoint Now() const override { return now; }
  TimePoint now{std::chrono::hours(1000)};
};

// Each call processes one "batch of events": the next queued action, if any, runs nested inside the
// wait; otherwise the pump sleeps to the deadline, logged as "pump.Sleep(N ms)".
class FakeEventPump final : public EventPump {
 public:
  FakeEventPump(CallLog& log, FakeClock& clock) : log_(log), clock_(clock) {}
  void ProcessEventsUntil(Clock::TimePoint deadline) override;
  std::vector<std::function<void()>> queued;  // user events arriving during the wait

 private:
  CallLog& log_;
  FakeClock& clock_;
};

class FakeClipboard final : public Clipboard {
 public:
  explicit FakeClipboard(CallLog& log) : log_(log) {}
  void SetText(const std::string& value) override;
  std::string text = "(untouched)";

 private:
  CallLog& log_;
};

class FakeLocalAddress final : public LocalAddress {
 public:
  explicit FakeLocalAddress(CallLog& log) : log_(log) {}
  std::string LocalIP() override;

 private:
  CallLog& log_;
};

class FakeTimeTexts final : public TimeTexts {
 public:
  explicit FakeTimeTexts(CallLog& log) : log_(log) {}
  std::string TimeText() override;
  std::string DateText() override;

 private:
  CallLog& log_;
};

class FakeLabel final : public Label {
 public:
  void OnMouseDown(std::function<void()> handler) override { on_mouse_down_ = std::move(handler); }
  void MouseDown() { on_mouse_down_(); }

 private:
  std::function<void()> on_mouse_down_;
};

class FakeWindowDrag final : public WindowDrag {
 public:
  explicit FakeWindowDrag(CallLog& log) : log_(log) {}
  void StartMove() override { log_.Record("drag.StartMove"); }

 private:
  CallLog& log_;
};

class FakeKeystrokes final : public Keystrokes {
 public:
  explicit FakeKeystrokes(CallLog& log, const FakeClock* clock = nullptr)
      : log_(log), clock_(clock) {}
  // Like the real keyboard, borrows keys for the characters outside ASCII. Types them all unless
  // `stop` says how far the keys got.
  TypedKeys Type(const KeySequence& keys, std::uint64_t window) override;
  // Receipts are not logged: they come with every step, `receipt_after` after they were asked for
  // on the clock (at once without one).
  std::string Untypable(const KeySequence&) override { return untypable; }
  void AskReadReceipt(std::uint64_t) override {
    ++receipts_asked;
    if (clock_ != nullptr) receipt_asked_ = clock_->now;
  }
  bool ReadReceiptCame() override {
    return clock_ == nullptr || clock_->now - receipt_asked_ >= receipt_after;
  }
  std::vector<std::string> HeldKeys(const KeySequence&) override { return held; }
  std::string Blocked() override { return blocked; }
  bool TakeTurn() override { return busy_turns-- <= 0; }
  bool Borrowed() const override { return borrowed; }
  void EndJob() noexcept override {
    ++jobs_ended;
    borrowed = false;
  }
  // The keys the person holds down: none unless a test says otherwise.
  std::vector<std::string> held;
  // What keeps keys from the focused window (another program's grab): nothing unless a test says.
  std::string blocked;
  // How many times another program's job still holds the display's keyboard when asked.
  int busy_turns = 0;
  // Whether typing has borrowed keys, and how often a job gave them back.
  bool borrowed = false;
  int jobs_ended = 0;
  // When set, says how far each Type got (the focus moving away under the keys, say).
  std::function<TypedKeys(const KeySequence& keys)> stop;
  // The windows keys went into, how many receipts were asked for and how long each takes.
  std::vector<std::uint64_t> typed_into;
  int receipts_asked = 0;
  std::chrono::milliseconds receipt_after{0};
  std::uint32_t next_stamp = 1000;
  // What no key can type, as the keyboard would say it: nothing unless a test says.
  std::string untypable;

 private:
  CallLog& log_;
  const FakeClock* clock_;
  Clock::TimePoint receipt_asked_{};
};

// The shield of the program's windows: the spans it was told to cover; a test says how many keys
// it swallowed.
class FakeKeyShield final : public KeyShield {
 public:
  void Cover(std::uint32_t from, std::uint32_t to) override { covered.emplace_back(from, to); }
  std::size_t Swallowed() const override { return swallowed; }
  std::vector<std::pair<std::uint32_t, std::uint32_t>> covered;
  std::size_t swallowed = 0;
};

// A window the fake client owns; any other window is foreign to it.
inline const DesktopWindow kClientWindow{0x400007, 4242};

// The focused window: the client's own unless a test says otherwise.
class FakeFocusedWindow final : public FocusedWindow {
 public:
  explicit FakeFocusedWindow(CallLog& log) : log_(log) {}
  DesktopWindow Focused() override;
  DesktopWindow window = kClientWindow;
  // When set, called on each look to let the focus move (e.g. after some time).
  std::function<void()> on_look;

 private:
  CallLog& log_;
};

struct FakeContact {
  std::string signin_name;
  std::int32_t status;
};

// The messaging client: a contact list and a log of every call.
class FakeMessenger final : public messenger::Messenger {
 public:
  explicit FakeMessenger(CallLog& log) : log_(log) {}
  void Signout() override;
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override;
  // Every job hands its questions to the three calls below, and logs "<kind>.Release()" as it
  // ends: "options", "dialog", "conversation" or (from MyContacts' Remove) "removal".
  std::unique_ptr<messenger::TypingJob> OptionsPages(std::int32_t window,
                                                     std::int32_t page) override;
  std::unique_ptr<messenger::TypingJob> AddContact(std::int32_t window,
                                                   const std::string& address) override;
  std::unique_ptr<messenger::TypingJob> InstantMessage(const std::string& contact) override;
  std::unique_ptr<messenger::ContactCollection> MyContacts() override;
  void MyStatus(std::int32_t status) override;
  std::string MyServiceId() override;
  bool TakesKeys(const DesktopWindow& window);
  // Not logged: they come with every look at the focus. The windows they were called with are kept.
  void PrepareForKeys(const DesktopWindow& focused);
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys);

  std::vector<FakeContact> contacts;
  std::vector<DesktopWindow> prepared_for, typed_into;
  std::vector<std::string> keys_typed;  // in notation
  std::function<void()> on_prepare;     // e.g. to fail the job
  // How many times the next job asks for Ctrl+Page Down to bring its window in front.
  int tabs_behind = 0;
  // How many Escapes the next job types after the program's keys of a step, as its own steps;
  // after the last it is finished.
  int closing_steps = 0;
  // Whether the next conversation sends a message's text itself, logging
  // "conversation.SendsText(<text>)", and is finished once its empty step was confirmed.
  bool sends_text = false;
  // Whether a contact's removal asks first: the collection hands back its job ("removal"), whose
  // own step is {ALT+R}; otherwise the contact is removed at once.
  bool asks_before_removing = false;
  int live_objects = 0;  // collections, enumerators, contacts and jobs not yet let go

 private:
  CallLog& log_;
};

// Other programs' windows: the logic never asks for them; a client would.
class FakeWindowManager final : public WindowManager {
 public:
  std::vector<std::uint64_t> WindowsOf(std::int64_t) override { return {}; }
  bool TakenOn(std::uint64_t) override { return false; }
  void Activate(std::uint64_t) override {}
  bool HasInputFocus(std::uint64_t) override { return false; }
  bool OnDisplay(std::int64_t) override { return true; }
};

// The whole window on doubles, built as the program builds it.
struct Rig {
  Rig();
  // A factory that logs "CreateClient" and hands out the one FakeMessenger.
  messenger::MessengerFactory Factory();

  CallLog log;
  FakeComboBox status_box{log, "cboStatus", "CHANGE YOUR STATUS HERE !"};
  FakeButton select_list{log, "cmdload"};
  FakeButton clear_list{log, "SkinButtons1"}, clear_pad{log, "SkinButtons2"},
      insert_time{log, "SkinButtons3"}, insert_date{log, "SkinButtons4"},
      get_ip{log, "SkinButtons5"}, copy_pad{log, "SkinButtons6"}, exit_program{log, "SkinButtons7"},
      sign_out{log, "SkinButtons8"}, delete_contact{log, "SkinButtons9"},
      send_message{log, "SkinButtons10"}, add_contact{log, "SkinButtons11"},
      change_nickname{log, "SkinButtons12"};
  FakeListBox contact_list{log, "lbContacts"};
  FakeTextBox pad{log, "Text1"}, address{log, "Text2", "Example: friend@example.com"},
      nickname{log, "Text3", "NickName Here"}, message{log, "Text4", "Your Custom Message here!"};
  FakeSoundCue click_cue{log, "OLE1"}, sign_out_cue{log, "OLE2"}, start_cue{log, "OLE3"};
  FakeLocalAddress local_address{log};
  FakeClipboard clipboard{log};
  FakeTimeTexts time_texts{log};
  FakeClock clock;
  FakeKeystrokes keys{log, &clock};
  FakeFocusedWindow focus{log};
  FakeLabel title;
  FakeWindowDrag drag{log};
  FakeKeyShield key_shield;
  FakeWindow window{log};
  FakeErrorReport errors;
  FakeEventPump pump{log, clock};
  EventWait wait{clock, pump};
  FakeWindowManager windows;
  FakeMessenger messenger{log};
  MainWindow form;
};

// A rig whose window has started, with the address "friend@example.com" and the given message and
// name in their boxes; `mark` is where the calls of what the test clicks next begin in the log.
struct StartedRig : Rig {
  StartedRig(const std::string& message_text, const std::string& nickname_text);
  std::size_t mark = 0;
};

}  // namespace plumwick::testing
