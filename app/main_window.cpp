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
    {Event::kDeleteContact, Cue::kClick, Turn::kKeyboard, &MainWindow::OnDeleteContact,
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
      create_client_(std::move(create_client)),
      jobs_(desktop.wait, desktop.keys) {
  for (const EventRow& row : kEventTable) {
    if (row.subscribe != nullptr) row.subscribe(c_, [this, &row] { Dispatch(row.event); });
  }
}

bool MainWindow::Start() {
  return Dispatch(Event::kLoad) && Guarded([this] { services_.window.ShowAndActivate(); });
}

const MainWindow::EventRow& MainWindow::RowOf(Event event) {
  return *std::ranges::find(kEventTable, event, &EventRow::event);
}

bool MainWindow::Dispatch(Event event) {
  const EventRow& row = RowOf(event);
  if (const auto* handler = std::get_if<PlainHandler>(&row.handler)) {
    return Guarded([this, &row, handler] {
      PlayCue(row.cue);
      (this->*(*handler))();
    });
  }
  // The user hears the click now, and the action keeps what the boxes hold now: clicked during
  // another job, it waits for its turn, and the user may change the boxes or select another entry
  // meanwhile. A cue or a read that fails stops it here, as it would stop a handler.
  Handler action;
  const auto at_click = [this, &row, &action] {
    PlayCue(row.cue);
    action = (this->*std::get<TurnHandler>(row.handler))();
  };
  return Guarded(at_click) && jobs_.Start([this, &row, action] {
    return Guarded([this, &row, &action] {
      if (row.turn == Turn::kKeyboard) jobs_.WaitForDisplayTurn();
      action();
    });
  });
}

bool MainWindow::Guarded(const Handler& step) {
  try {
    step();
    return true;
  } catch (const Failure& failure) {
    services_.errors.Show(failure);
    return false;
  }
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

MainWindow::Handler MainWindow::OnContactDoubleClick() {
  return [this, entry = c_.contact_list.CurrentText()] {
    messenger::ClientTyping keys = typing();
    messenger::OpenConversation(entry, client(), keys);
  };
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

MainWindow::Handler MainWindow::OnSendMessage() {
  std::string address = c_.address.Text();  // read in the order the action uses them
  return [this, address = std::move(address), message = c_.message.Text()] {
    messenger::ClientTyping keys = typing();
    messenger::SendMessage(client(), address, message, keys);
  };
}

MainWindow::Handler MainWindow::OnAddContact() {
  return [this, address = c_.address.Text()] {
    messenger::ClientTyping keys = typing();
    messenger::AddContact(client(), address, keys);
  };
}

MainWindow::Handler MainWindow::OnChangeNickName() {
  return [this, nickname = c_.nickname.Text()] {
    messenger::ClientTyping keys = typing();
    messenger::ChangeNickName(client(), nickname, keys, services_.window);
  };
}

MainWindow::Handler MainWindow::OnDeleteContact() {
  return [this, address = c_.address.Text()] {
    messenger::ClientTyping keys = typing();
    messenger::DeleteContact(client(), address, keys);
  };
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
