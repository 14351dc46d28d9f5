// Doubles of the platform and the messaging client for unit tests of the window's logic.
#include "tests/unit/doubles.h"

#include <gtest/gtest.h>

#include <utility>

namespace plumwick::testing {

std::vector<std::string> TypedSteps(const std::vector<std::string>& calls) {
  std::vector<std::string> typed;
  for (const std::string& call : calls) {
    if (call.starts_with("keys.Type(")) typed.push_back(call.substr(10, call.size() - 11));
  }
  return typed;
}

void CallLog::Record(const std::string& call, const std::string& arguments) {
  calls.push_back(call + "(" + arguments + ")");
  if (call == fail_call_ && ++seen_ == fail_occurrence_) {
    throw Failure(kInjectedCode, call + " failed");
  }
}

void CallLog::FailAt(const std::string& call, int occurrence) {
  fail_call_ = call;
  fail_occurrence_ = occurrence;
  seen_ = 0;
}

std::string FakeTextBox::Text() const {
  log_.Record(name_ + ".Text");
  return text;
}

void FakeTextBox::SetText(const std::string& value) {
  log_.Record(name_ + ".SetText", value);
  text = value;
  caret = selection_start = selection_length = 0;
}

void FakeTextBox::ReplaceSelection(const std::string& value) {
  log_.Record(name_ + ".ReplaceSelection", value);
  const std::size_t at = selection_length > 0 ? selection_start : caret;
  text.replace(at, selection_length, value);
  caret = at + value.size();
  selection_start = selection_length = 0;
}

void FakeTextBox::Select(std::size_t start, std::size_t length) {
  selection_start = start;
  selection_length = length;
  caret = start + length;
}

void FakeClipboard::SetText(const std::string& value) {
  log_.Record("clipboard.SetText", value);
  text = value;
}

std::string FakeLocalAddress::LocalIP() {
  log_.Record("Winsock1.LocalIP");
  return "192.0.2.7";
}

std::string FakeTimeTexts::TimeText() {
  log_.Record("texts.TimeText");
  return "20:06:52";
}

std::string FakeTimeTexts::DateText() {
  log_.Record("texts.DateText");
  return "07.12.2026";
}

void FakeButton::SetEnabled(bool value) {
  log_.Record(name_ + ".SetEnabled", value ? "true" : "false");
  enabled = value;
}

void FakeButton::Click() {
  if (enabled && on_click_) on_click_();
}

void FakeListBox::Append(const std::string& entry) {
  log_.Record(name_ + ".Append", entry);
  entries.push_back(entry);
}

void FakeListBox::Clear() {
  log_.Record(name_ + ".Clear");
  entries.clear();
  current = -1;
}

std::string FakeListBox::CurrentText() const {
  log_.Record(name_ + ".CurrentText");
  return current < 0 ? std::string() : entries.at(static_cast<std::size_t>(current));
}

void FakeComboBox::Append(const std::string& entry) {
  log_.Record(name_ + ".Append", entry);
  entries.push_back(entry);
}

std::string FakeComboBox::Text() const {
  log_.Record(name_ + ".Text");
  return text;
}

void FakeComboBox::UndoPick() {
  // Not logged: it runs while a failure is on its way out, and is no call of the handler's.
  text = before_pick_;
}

void FakeComboBox::Pick(std::size_t index) {
  before_pick_ = text;
  text = entries.at(index);
  if (on_pick_) on_pick_();
}

void FakeWindow::ShowAndActivate() {
  log_.Record("window.ShowAndActivate");
  shown = true;
}

void FakeWindow::End() {
  log_.calls.push_back("window.End()");
  throw ProgramEnded{};
}

TypedKeys FakeKeystrokes::Type(const KeySequence& keys, std::uint64_t window) {
  const std::string text = FormatKeyNotation(keys);
  log_.Record("keys.Type", text);
  typed_into.push_back(window);
  borrowed = borrowed || std::any_of(text.begin(), text.end(), [](char c) { return c < 0; });
  TypedKeys typed = stop ? stop(keys) : TypedKeys{KeyCount(keys), TypedKeys::Stop::kDone};
  // Stamped as the keys were counted out, one a millisecond.
  typed.from_stamp = next_stamp;
  next_stamp += static_cast<std::uint32_t>(typed.keys);
  typed.to_stamp = next_stamp;
  return typed;
}

DesktopWindow FakeFocusedWindow::Focused() {
  log_.Record("focus.Focused");
  if (on_look) on_look();
  return window;
}

void FakeEventPump::ProcessEventsUntil(Clock::TimePoint deadline) {
  if (queued.empty()) {
    const auto slept = std::chrono::round<std::chrono::milliseconds>(deadline - clock_.now);
    log_.calls.push_back("pump.Sleep(" + std::to_string(slept.count()) + " ms)");
    clock_.now = std::max(clock_.now, deadline);
    return;
  }
  log_.calls.push_back("pump.Event()");
  const std::function<void()> next = std::move(queued.front());
  queued.erase(queued.begin());
  next();
}

namespace {

// Counts itself among the client's live objects for as long as it exists.
class Live {
 public:
  explicit Live(int& count) : count_(count) { ++count_; }
  Live(const Live&) = delete;
  Live& operator=(const Live&) = delete;
  ~Live() { --count_; }

 private:
  int& count_;
};

class Contact final : public messenger::Contact {
 public:
  Contact(CallLog& log, FakeMessenger& owner, FakeContact contact)
      : log_(log), live_(owner.live_objects), contact_(std::move(contact)) {}
  std::int32_t Status() const override {
    log_.Record("contact.Status", contact_.signin_name);
    return contact_.status;
  }
  std::string SigninName() const override {
    log_.Record("contact.SigninName", contact_.signin_name);
    return contact_.signin_name;
  }

 private:
  CallLog& log_;
  Live live_;
  FakeContact contact_;
};

class Enumerator final : public messenger::ContactEnumerator {
 public:
  Enumerator(CallLog& log, FakeMessenger& owner)
      : log_(log), owner_(owner), live_(owner.live_objects) {}
  std::unique_ptr<messenger::Contact> Next() override {
    log_.Record("contacts.Next");
    if (next_ == owner_.contacts.size()) return nullptr;
    return std::make_unique<Contact>(log_, owner_, owner_.contacts[next_++]);
  }

 private:
  CallLog& log_;
  FakeMessenger& owner_;
  Live live_;
  std::size_t next_ = 0;
};

class Collection final : public messenger::ContactCollection {
 public:
  Collection(CallLog& log, FakeMessenger& owner)
      : log_(log), owner_(owner), live_(owner.live_objects) {}
  std::unique_ptr<messenger::ContactEnumerator> Enumerate() override {
    log_.Record("contacts.Enumerate");
    return std::make_unique<Enumerator>(log_, owner_);
  }
  std::unique_ptr<messenger::TypingJob> Remove(const messenger::Contact& contact) override;

 private:
  CallLog& log_;
  FakeMessenger& owner_;
  Live live_;
};

class Job final : public messenger::TypingJob {
 public:
  Job(CallLog& log, FakeMessenger& owner, std::string kind)
      : log_(log), owner_(owner), live_(owner.live_objects), kind_(std::move(kind)) {}
  ~Job() override { log_.calls.push_back(kind_ + ".Release()"); }
  KeySequence OwnKeys(bool /*keys_follow*/) override {
    // A removal answers the client's question with a key of its own, once.
    if (kind_ == "removal") return std::exchange(answer_, {});
    if (owner_.tabs_behind == 0) return {};
    --owner_.tabs_behind;
    return {KeyPress{.key = NamedKey::kPageDown, .control = true}};
  }
  void PrepareForKeys(const DesktopWindow& focused) override { owner_.PrepareForKeys(focused); }
  bool TakesKeys(const DesktopWindow& window) override { return owner_.TakesKeys(window); }
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override {
    owner_.KeysTyped(window, keys);
  }
  KeySequence ClosingKeys() override {
    if (owner_.closing_steps == 0) return {};
    closed_ = --owner_.closing_steps == 0;
    return OnePress(NamedKey::kEscape);
  }
  void AwaitConfirmation() override { finished_ = text_taken_ || closed_; }
  bool Finished() const override { return finished_; }
  bool SendsText(const KeySequence& text) override {
    if (kind_ != "conversation" || !owner_.sends_text) return false;
    log_.Record("conversation.SendsText", FormatKeyNotation(text));
    text_taken_ = true;
    return true;
  }

 private:
  CallLog& log_;
  FakeMessenger& owner_;
  Live live_;
  std::string kind_;
  KeySequence answer_ = AltPress(U'r');
  bool text_taken_ = false;
  bool closed_ = false;  // its last step of its own was typed
  bool finished_ = false;
};

std::unique_ptr<messenger::TypingJob> Collection::Remove(const messenger::Contact& contact) {
  log_.Record("contacts.Remove", contact.SigninName());
  if (!owner_.asks_before_removing) return nullptr;
  return std::make_unique<Job>(log_, owner_, "removal");
}

// What the factory hands out: the window owns it, the test keeps the FakeMessenger behind it.
class Proxy final : public messenger::Messenger {
 public:
  explicit Proxy(FakeMessenger& target) : target_(target) {}
  void Signout() override { target_.Signout(); }
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override {
    return target_.GetContact(signin_name, service_id);
  }
  std::unique_ptr<messenger::TypingJob> OptionsPages(std::int32_t window,
                                                     std::int32_t page) override {
    return target_.OptionsPages(window, page);
  }
  std::unique_ptr<messenger::TypingJob> AddContact(std::int32_t window,
                                                   const std::string& address) override {
    return target_.AddContact(window, address);
  }
  std::unique_ptr<messenger::TypingJob> InstantMessage(const std::string& contact) override {
    return target_.InstantMessage(contact);
  }
  std::unique_ptr<messenger::ContactCollection> MyContacts() override {
    return target_.MyContacts();
  }
  void MyStatus(std::int32_t status) override { target_.MyStatus(status); }
  std::string MyServiceId() override { return target_.MyServiceId(); }

 private:
  FakeMessenger& target_;
};

}  // namespace

void FakeMessenger::Signout() {
  log_.Record("client.Signout");
}

std::unique_ptr<messenger::Contact> FakeMessenger::GetContact(const std::string& signin_name,
                                                              const std::string& service_id) {
  log_.Record("client.GetContact", signin_name + ", " + service_id);
  return std::make_unique<Contact>(log_, *this,
                                   FakeContact{signin_name, messenger::status::kOnline});
}

std::unique_ptr<messenger::TypingJob> FakeMessenger::OptionsPages(std::int32_t window,
                                                                  std::int32_t page) {
  log_.Record("client.OptionsPages", std::to_string(window) + ", " + std::to_string(page));
  return std::make_unique<Job>(log_, *this, "options");
}

std::unique_ptr<messenger::TypingJob> FakeMessenger::AddContact(std::int32_t window,
                                                                const std::string& address) {
  log_.Record("client.AddContact", std::to_string(window) + ", " + address);
  return std::make_unique<Job>(log_, *this, "dialog");
}

std::unique_ptr<messenger::TypingJob> FakeMessenger::InstantMessage(const std::string& contact) {
  log_.Record("client.InstantMessage", contact);
  return std::make_unique<Job>(log_, *this, "conversation");
}

std::unique_ptr<messenger::ContactCollection> FakeMessenger::MyContacts() {
  log_.Record("client.MyContacts");
  return std::make_unique<Collection>(log_, *this);
}

void FakeMessenger::MyStatus(std::int32_t status) {
  log_.Record("client.MyStatus", std::to_string(status));
}

std::string FakeMessenger::MyServiceId() {
  log_.Record("client.MyServiceId");
  return "service";
}

bool FakeMessenger::TakesKeys(const DesktopWindow& window) {
  log_.Record("job.TakesKeys");
  return window == kClientWindow;
}

void FakeMessenger::PrepareForKeys(const DesktopWindow& focused) {
  prepared_for.push_back(focused);
  if (on_prepare) on_prepare();
}

void FakeMessenger::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  typed_into.push_back(window);
  keys_typed.push_back(FormatKeyNotation(keys));
}

Rig::Rig()
    : form(
          MainWindowControls{
              .status_box = status_box,
              .select_list = select_list,
              .clear_list = clear_list,
              .contact_list = contact_list,
              .address = address,
              .message = message,
              .nickname = nickname,
              .send_message = send_message,
              .add_contact = add_contact,
              .delete_contact = delete_contact,
              .change_nickname = change_nickname,
              .sign_out = sign_out,
              .pad = pad,
              .clear_pad = clear_pad,
              .insert_time = insert_time,
              .insert_date = insert_date,
              .get_ip = get_ip,
              .copy_pad = copy_pad,
              .exit_program = exit_program,
              .title = title,
              .click_cue = click_cue,
              .sign_out_cue = sign_out_cue,
              .start_cue = start_cue,
              .local_address = local_address,
          },
          MainWindowServices{.window = window,
                             .errors = errors,
                             .clipboard = clipboard,
                             .time_texts = time_texts,
                             .drag = drag,
                             .key_shield = key_shield},
          Desktop{.wait = wait, .focus = focus, .keys = keys, .windows = windows}, Factory()) {}

messenger::MessengerFactory Rig::Factory() {
  return [this](const ClientDesktop&) -> std::unique_ptr<messenger::Messenger> {
    log.Record("CreateClient");
    return std::make_unique<Proxy>(messenger);
  };
}

StartedRig::StartedRig(const std::string& message_text, const std::string& nickname_text) {
  EXPECT_TRUE(form.Start());
  address.text = "friend@example.com";
  message.text = message_text;
  nickname.text = nickname_text;
  mark = log.calls.size();
}

}  // namespace plumwick::testing
