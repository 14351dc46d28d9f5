// The window controller: start-up, the event table and its dispatcher, and the handlers.
#include "app/main_window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <variant>

#include "messenger/contact_actions.h"
#include "messenger/status_and_contacts.h"

namespace plumwick {

// One row per event: the cue its handler starts first, which turns it takes, the handler,
// and how the control that raises the event is subscribed to it (the load has no control).
const MainWindow::EventRow MainWindow::kEventTable[] = {
    {Event::kLoad, Cue::kStart, Turn::kNone, &MainWindow::OnLoad, nullptr},
    {Event::kStatusPick, Cue::kNone, Turn::kNone, &MainWindow::OnStatusPick,
     [](Controls c, const Handler& h) { c.status_box.OnPick(h); }},
    {Event::kSelectList, Cue::kClick, Turn::kNone, &MainWindow::OnSelectList,
     [](Controls c, const Handler& h) { c.select_list.OnClick(h); }},
    {Event::kClearList, Cue::kClick, Turn::kNone, &MainWindow::OnClearList,
     [](Controls c, const Handler& h) { c.clear_list.OnClick(h); }},
    {Event::kContactDoubleClick, Cue::kNone, Turn::kInLine, &MainWindow::OnContactDoubleClick,
     [](Controls c, const Handler& h) { c.contact_list.OnDoubleClick(h); }},
    {Event::kClearPad, Cue::kClick, Turn::kNone, &MainWindow::OnClearPad,
     [](Controls c, const Handler& h) { c.clear_pad.OnClick(h); }},
    {Event::kInsertTime, Cue::kClick, Turn::kNone, &MainWindow::OnInsertTime,
     [](Controls c, const Handler& h) { c.insert_time.OnClick(h); }},
    {Event::kInsertDate, Cue::kClick, Turn::kNone, &MainWindow::OnInsertDate,
     [](Controls c, const Handler& h) { c.insert_date.OnClick(h); }},
    {Event::kGetIP, Cue::kClick, Turn::kNone, &MainWindow::OnGetIP,
     [](Controls c, const Handler& h) { c.get_ip.OnClick(h); }},
    {Event::kCopyPad, Cue::kClick, Turn::kNone, &MainWindow::OnCopyPad,
     [](Controls c, const Handler& h) { c.copy_pad.OnClick(h); }},
    {Event::kSendMessage, Cue::kClick, Turn::kKeyboard, &MainWindow::OnSendMessage,
     [](Controls c, const Handler& h) { c.send_message.OnClick(h); }},
    {Event::kAddContact, Cue::kClick, Turn::kKeyboard, &MainWindow::OnAddContact,
     [](Controls c, const Handler& h) { c.add_contact.OnClick(h); }},
    {Event::kChangeNickName, Cue::kClick, Turn::kKeyboard, &MainWindow::OnChangeNickName,
     [](Controls c, const Handler& h) { c.change_nickname.OnClick(h); }},
    {Event::kDeleteContact, Cue::kClick, Turn::kNone, &MainWindow::OnDeleteContact,
     [](Controls c, const Handler& h) { c.delete_contact.OnClick(h); }},
    {Event::kSignOut, Cue::kSignOut, Turn::kNone, &MainWindow::OnSignOut,
     [](Controls c, const Handler& h) { c.sign_out.OnClick(h); }},
    {Event::kExit, Cue::kSignOut, Turn::kNone, &MainWindow::OnExit,
     [](Controls c, const Handler& h) { c.exit_program.OnClick(h); }},
    {Event::kTitleMouseDown, Cue::kNone, Turn::kNone, &MainWindow::OnTitleMouseDown,
     [](Controls c, const Handler& h) { c.title.OnMouseDown(h); }},
};

MainWindow::MainWindow(const MainWindowControls& controls, const MainWindowServices& services,
                       const Desktop& desktop, messenger::MessengerFactory create_client)
    : c_(controls),
      services_(services),
      desktop_(desktop),
      create_client_(std::move(create_client)) {
  for (const EventRow& row : kEventTable) {
    if (row.subscribe != nullptr) row.subscribe(c_, [this, &row] { Dispatch(row.event); });
  }
}

bool MainWindow::Start() {
  if (!Dispatch(Event::kLoad)) return false;
  try {
    services_.window.ShowAndActivate();
  } catch (const Failure& failure) {
    services_.errors.Show(failure);
    return false;
  }
  return true;
}

const MainWindow::EventRow& MainWindow::RowOf(Event event) {
  return *std::ranges::find(kEventTable, event, &EventRow::event);
}

bool MainWindow::Dispatch(Event event) {
  const EventRow& row = RowOf(event);
  if (row.turn == Turn::kNone) return Run(row, true, {});
  // The user hears the click now, and the action keeps what the boxes hold now: clicked during
  // another job, it waits for its turn, and the user may change the boxes or select another entry
  // meanwhile. A cue or a read that fails stops it here, as it would stop a handler.
  Job job{.event = event, .at_click = {}};
  try {
    PlayCue(row.cue);
    job.at_click = ReadAtClick(event);
  } catch (const Failure& failure) {
    services_.errors.Show(failure);
    return false;
  }
  if (!job_running_) return RunJobs(job);
  waiting_jobs_.push_back(std::move(job));
  return true;
}

MainWindow::ClickTexts MainWindow::ReadAtClick(Event event) const {
  ClickTexts texts;
  switch (event) {
    case Event::kSendMessage:
      texts.address = c_.address.Text();
      texts.message = c_.message.Text();
      break;
    case Event::kAddContact:
      texts.address = c_.address.Text();
      break;
    case Event::kChangeNickName:
      texts.nickname = c_.nickname.Text();
      break;
    case Event::kContactDoubleClick:
      texts.entry = c_.contact_list.CurrentText();
      break;
    default:
      break;
  }
  return texts;
}

bool MainWindow::RunJobs(const Job& first) {
  // Also on a way out that is not a failure (the program ending): no turn is left held.
  struct JobTurn {
    MainWindow& window;
    explicit JobTurn(MainWindow& w) : window(w) { window.job_running_ = true; }
    ~JobTurn() {
      window.job_running_ = false;
      window.waiting_jobs_.clear();
      window.desktop_.keys.EndJob();
    }
  } turn(*this);
  const bool done = Run(RowOf(first.event), false, first.at_click);
  for (;;) {
    // The keys a job typed last reach the client only as it handles them, after they went out:
    // the dialog they close is still up, the notice they dismiss still shows. The next job starts
    // once the client has had time for them, so that it does not find that window and lose its
    // keys when it goes. Keys borrowed for characters the layout lacks are given back only then
    // too: the client reads a key with the keymap of the moment it handles it. Clicks in this
    // wait join the line too.
    if (waiting_jobs_.empty() && !desktop_.keys.Borrowed()) break;
    desktop_.wait.Pause(kBetweenJobs);
    if (waiting_jobs_.empty()) break;  // the turn ends the job
    desktop_.keys.EndJob();
    const Job next = std::move(waiting_jobs_.front());
    waiting_jobs_.pop_front();
    Run(RowOf(next.event), false, next.at_click);
  }
  return done;
}

bool MainWindow::Run(const EventRow& row, bool cue, const ClickTexts& at_click) {
  try {
    if (cue) PlayCue(row.cue);
    if (row.turn == Turn::kKeyboard) WaitForKeyboardTurn();
    if (const auto* handler = std::get_if<PlainHandler>(&row.handler)) {
      (this->*(*handler))();
    } else {
      (this->*std::get<ClickHandler>(row.handler))(at_click);
    }
    return true;
  } catch (const Failure& failure) {
    services_.errors.Show(failure);
    return false;
  }
}

void MainWindow::WaitForKeyboardTurn() {
  // Before the job's first call to the client: a window the client opens for it would take the
  // focus from the windows of another program's job.
  if (desktop_.keys.TakeTurn()) return;
  if (!desktop_.wait.Until(kTurnWait, [this] { return desktop_.keys.TakeTurn(); })) {
    throw Failure(error_code::kKeystrokes,
                  "Another Plumwick on this display kept the keyboard busy with its own job for " +
                      std::to_string(kTurnWait.count() / 1000) +
                      " seconds, so nothing was done. Try again once it has finished");
  }
  // As after a job of this program's own: the other job's last keys reach its client only as
  // that handles them.
  desktop_.wait.Pause(kBetweenJobs);
}

void MainWindow::PlayCue(Cue cue) {
  switch (cue) {
    case Cue::kNone:
      return;
    case Cue::kClick:
      return c_.click_cue.Play();
    case Cue::kSignOut:
      return c_.sign_out_cue.Play();
    case Cue::kStart:
      return c_.start_cue.Play();
  }
}

messenger::Messenger& MainWindow::client() {
  // Events reach the window only once it shows, after the client was created; this guards the rest.
  if (!client_) throw Failure(error_code::kNoClient, "The messaging client has not been created");
  return *client_;
}

messenger::ClientTyping MainWindow::typing() {
  return {desktop_.focus, desktop_.keys, desktop_.wait, &services_.key_shield};
}

scratchpad::PadControls MainWindow::pad() const {
  return {.text = c_.pad,
          .clear = c_.clear_pad,
          .time = c_.insert_time,
          .date = c_.insert_date,
          .get_ip = c_.get_ip,
          .copy = c_.copy_pad};
}

void MainWindow::OnLoad() {
  client_ = create_client_(desktop_.ForClient());
  messenger::AppendStatusNames(c_.status_box);
  c_.clear_list.SetEnabled(false);
  c_.clear_pad.SetEnabled(false);
  c_.copy_pad.SetEnabled(false);
}

void MainWindow::OnStatusPick() {
  messenger::SetStatusFromPick(c_.status_box, client());
}

void MainWindow::OnSelectList() {
  messenger::SelectList(client(), c_.contact_list, c_.select_list, c_.clear_list);
}

void MainWindow::OnClearList() {
  messenger::ClearList(c_.contact_list, c_.pad, c_.select_list, c_.clear_list);
}

void MainWindow::OnContactDoubleClick(const ClickTexts& at_click) {
  messenger::ClientTyping keys = typing();
  messenger::OpenConversation(at_click.entry, client(), keys);
}

void MainWindow::OnClearPad() {
  scratchpad::Clear(pad());
}

void MainWindow::OnInsertTime() {
  scratchpad::InsertTime(pad(), services_.time_texts);
}

void MainWindow::OnInsertDate() {
  scratchpad::InsertDate(pad(), services_.time_texts);
}

void MainWindow::OnGetIP() {
  scratchpad::PutLocalIP(pad(), c_.local_address);
}

void MainWindow::OnCopyPad() {
  scratchpad::CopyToClipboard(pad(), services_.clipboard);
}

void MainWindow::OnSendMessage(const ClickTexts& at_click) {
  messenger::ClientTyping keys = typing();
  messenger::SendMessage(client(), at_click.address, at_click.message, keys);
}

void MainWindow::OnAddContact(const ClickTexts& at_click) {
  messenger::ClientTyping keys = typing();
  messenger::AddContact(client(), at_click.address, keys);
}

void MainWindow::OnChangeNickName(const ClickTexts& at_click) {
  messenger::ClientTyping keys = typing();
  messenger::ChangeNickName(client(), at_click.nickname, keys, services_.window);
}

void MainWindow::OnDeleteContact() {
  messenger::DeleteContact(client(), c_.address);
}

void MainWindow::OnSignOut() {
  messenger::SignOut(client());
}

void MainWindow::OnTitleMouseDown() {
  services_.drag.StartMove();
}

void MainWindow::OnExit() {
  services_.window.End();
}

}  // namespace plumwick
