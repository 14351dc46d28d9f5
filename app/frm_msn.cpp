// The window controller: start-up, the event table and its dispatcher, exit, and Pause.
#include "app/frm_msn.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "app/module1.h"
#include "messenger/focus_guard.h"
#include "messenger/status_and_contacts.h"
#include "scratchpad/scratch_pad.h"

namespace plumwick {

// One row per event: the cue its handler starts first, and the handler.
const frmMsn::EventRow frmMsn::kEventTable[] = {
    {Event::kLoad, Cue::kOLE3, &frmMsn::Form_Load},
    {Event::kStatusPick, Cue::kNone, &frmMsn::cboStatus_Click},
    {Event::kSelectList, Cue::kOLE1, &frmMsn::cmdload_Click},
    {Event::kClearList, Cue::kOLE1, &frmMsn::KewlButtons1_Click},
    {Event::kContactDoubleClick, Cue::kNone, &frmMsn::lbContacts_DblClick},
    {Event::kClearPad, Cue::kOLE1, &frmMsn::KewlButtons2_Click},
    {Event::kInsertTime, Cue::kOLE1, &frmMsn::KewlButtons3_Click},
    {Event::kInsertDate, Cue::kOLE1, &frmMsn::KewlButtons4_Click},
    {Event::kGetIP, Cue::kOLE1, &frmMsn::KewlButtons5_Click},
    {Event::kCopyPad, Cue::kOLE1, &frmMsn::KewlButtons6_Click},
    {Event::kSendMessage, Cue::kOLE1, &frmMsn::KewlButtons10_Click},
    {Event::kAddContact, Cue::kOLE1, &frmMsn::KewlButtons11_Click},
    {Event::kChangeNickName, Cue::kOLE1, &frmMsn::KewlButtons12_Click},
    {Event::kDeleteContact, Cue::kOLE1, &frmMsn::KewlButtons9_Click},
    {Event::kSignOut, Cue::kOLE2, &frmMsn::KewlButtons8_Click},
    {Event::kExit, Cue::kOLE2, &frmMsn::KewlButtons7_Click},
    {Event::kTitleMouseDown, Cue::kNone, &frmMsn::Label1_MouseDown},
};

frmMsn::frmMsn(const frmMsnControls& controls, const frmMsnDesktop& desktop,
               messenger::MessengerFactory create_client)
    : c_(controls), desktop_(desktop), create_client_(std::move(create_client)) {
  c_.cboStatus.OnPick([this] { Dispatch(Event::kStatusPick); });
  c_.cmdload.OnClick([this] { Dispatch(Event::kSelectList); });
  c_.KewlButtons1.OnClick([this] { Dispatch(Event::kClearList); });
  c_.lbContacts.OnDoubleClick([this] { Dispatch(Event::kContactDoubleClick); });
  c_.KewlButtons2.OnClick([this] { Dispatch(Event::kClearPad); });
  c_.KewlButtons3.OnClick([this] { Dispatch(Event::kInsertTime); });
  c_.KewlButtons4.OnClick([this] { Dispatch(Event::kInsertDate); });
  c_.KewlButtons5.OnClick([this] { Dispatch(Event::kGetIP); });
  c_.KewlButtons6.OnClick([this] { Dispatch(Event::kCopyPad); });
  c_.KewlButtons7.OnClick([this] { Dispatch(Event::kExit); });
  c_.KewlButtons8.OnClick([this] { Dispatch(Event::kSignOut); });
  c_.KewlButtons9.OnClick([this] { Dispatch(Event::kDeleteContact); });
  c_.KewlButtons10.OnClick([this] { Dispatch(Event::kSendMessage); });
  c_.KewlButtons11.OnClick([this] { Dispatch(Event::kAddContact); });
  c_.KewlButtons12.OnClick([this] { Dispatch(Event::kChangeNickName); });
  c_.Label1.OnMouseDown([this] { Dispatch(Event::kTitleMouseDown); });
}

bool frmMsn::Start() {
  if (!Dispatch(Event::kLoad)) return false;
  try {
    desktop_.window.ShowAndActivate();
  } catch (const Failure& failure) {
    desktop_.errors.Show(failure);
    return false;
  }
  return true;
}

bool frmMsn::Dispatch(Event event) {
  const EventRow& row =
      *std::find_if(std::begin(kEventTable), std::end(kEventTable),
                    [event](const EventRow& candidate) { return candidate.event == event; });
  try {
    PlayCue(row.cue);
    (this->*row.action)();
    return true;
  } catch (const Failure& failure) {
    desktop_.errors.Show(failure);
    return false;
  }
}

void frmMsn::Pause(std::chrono::duration<double> interval) {
  const Clock::TimePoint deadline =
      desktop_.clock.Now() + std::chrono::duration_cast<Clock::TimePoint::duration>(interval);
  while (desktop_.clock.Now() < deadline) desktop_.pump.ProcessEventsUntil(deadline);
}

void frmMsn::Type(const std::string& keys) {
  messenger::TypeIntoClient(msn(), {desktop_.focus, desktop_.keys, desktop_.clock, desktop_.pump},
                            keys);
}

void frmMsn::PlayCue(Cue cue) {
  switch (cue) {
    case Cue::kNone:
      return;
    case Cue::kOLE1:
      return c_.OLE1.Play();
    case Cue::kOLE2:
      return c_.OLE2.Play();
    case Cue::kOLE3:
      return c_.OLE3.Play();
  }
}

messenger::Messenger& frmMsn::msn() {
  // Events reach the window only once it shows, after the client was created; this guards the rest.
  if (!msn_) throw Failure(error_code::kNoClient, "The messaging client has not been created");
  return *msn_;
}

void frmMsn::Form_Load() {
  msn_ = create_client_();
  c_.cboStatus.Append("Online");
  c_.cboStatus.Append("Busy");
  c_.cboStatus.Append("Away");
  c_.KewlButtons1.SetEnabled(false);
  c_.KewlButtons2.SetEnabled(false);
  c_.KewlButtons6.SetEnabled(false);
}

void frmMsn::cboStatus_Click() {
  messenger::SetStatusFromPick(c_.cboStatus, msn());
}

void frmMsn::cmdload_Click() {
  messenger::SelectList(msn(), c_.lbContacts, c_.cmdload, c_.KewlButtons1);
}

void frmMsn::KewlButtons1_Click() {
  messenger::ClearList(c_.lbContacts, c_.Text1, c_.cmdload, c_.KewlButtons1);
}

void frmMsn::lbContacts_DblClick() {
  messenger::OpenConversation(c_.lbContacts, msn());
}

scratchpad::PadControls frmMsn::pad() const {
  return {c_.Text1,        c_.KewlButtons2, c_.KewlButtons3,
          c_.KewlButtons4, c_.KewlButtons5, c_.KewlButtons6};
}

void frmMsn::KewlButtons2_Click() {
  scratchpad::Clear(pad());
}

void frmMsn::KewlButtons3_Click() {
  scratchpad::InsertTime(pad(), desktop_.time_texts);
}

void frmMsn::KewlButtons4_Click() {
  scratchpad::InsertDate(pad(), desktop_.time_texts);
}

void frmMsn::KewlButtons5_Click() {
  scratchpad::PutLocalIP(pad(), c_.Winsock1);
}

void frmMsn::KewlButtons6_Click() {
  scratchpad::CopyToClipboard(pad(), desktop_.clipboard);
}

void frmMsn::KewlButtons8_Click() {
  messenger::SignOut(msn());
}

void frmMsn::KewlButtons9_Click() {
  messenger::DeleteContact(msn(), c_.Text2);
}

void frmMsn::KewlButtons10_Click() {
  messenger::SendMessage(msn(), c_.Text2, c_.Text4, *this);
}

void frmMsn::KewlButtons11_Click() {
  messenger::AddContact(msn(), c_.Text2, *this);
}

void frmMsn::KewlButtons12_Click() {
  messenger::ChangeNickName(msn(), c_.Text3, *this, desktop_.window);
}

void frmMsn::Label1_MouseDown() {
  Module1::FormDrag(desktop_.drag);
}

void frmMsn::KewlButtons7_Click() {
  desktop_.window.End();
}

}  // namespace plumwick
