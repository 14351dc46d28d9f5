// Adding a contact through Pidgin's add-buddy dialog.
#include "clients/purple/qt/add_contact_job.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// How often the window keys are meant for is asked back while another one has the focus: the
// window manager needs a moment to act on each request.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long after the Enter that adds the contact Pidgin has to report that the server has it. The
// server answers within milliseconds on a working connection; this leaves room for a busy machine.
constexpr std::chrono::milliseconds kConfirmationWait{2500};

}  // namespace

AddContactJob::AddContactJob(PurpleBus& bus, const ClientDesktop& desktop, Handle account,
                             std::string address, bool server_roster)
    : desktop_(desktop),
      address_(std::move(address)),
      notice_(bus, account, address_, server_roster),
      bring_back_(desktop.wait, kBringBackEvery) {
  const std::int64_t pidgin = bus.ServiceProcess();
  const std::vector<std::uint64_t> before = desktop.windows.WindowsOf(pidgin);
  bus.Call("PurpleBlistRequestAddBuddy",
           {Int(account), Str(QString::fromStdString(address_)), Str(QString()), Str(QString())},
           error_code::kNotSignedIn);
  // Pidgin builds the dialog before it answers; the window manager lists it a moment later, and is
  // done taking it on a moment after that. Activated in between, it may lose the focus again (marco
  // hands it back to the window that had it, after keys went to the dialog).
  const bool shown = desktop.wait.Until(messenger::kFocusWait, [&] {
    for (const std::uint64_t window : desktop.windows.WindowsOf(pidgin)) {
      if (std::find(before.begin(), before.end(), window) == before.end()) dialog_ = window;
    }
    return dialog_ != 0 && desktop.windows.TakenOn(dialog_);
  });
  if (!shown) {
    throw Failure(error_code::kClientError,
                  "Pidgin did not show its add-contact dialog for \"" + address_ + "\"");
  }
}

KeySequence AddContactJob::OwnKeys(bool /*keys_follow*/) {
  if (step_ != Step::kToAddressField) return {};
  return OnePress(NamedKey::kUp);
}

void AddContactJob::PrepareForKeys(const DesktopWindow& focused) {
  if (notice_.Showing()) {
    // The notice opens while Pidgin's dialog has the focus, and Pidgin's buddy list takes it once
    // the dialog has closed; a window manager that prevents focus stealing grants a taskbar's
    // request.
    if (!notice_.Shows(focused.id) && bring_back_.Due()) desktop_.windows.Activate(notice_.Id());
    return;
  }
  // The notice the user closed comes back for the Enter meant for it, which would otherwise find
  // no window of the job's and fail a job that succeeded.
  if (notice_.Confirmed()) return notice_.ShowAgain();
  if (focused.id != dialog_ && bring_back_.Due()) desktop_.windows.Activate(dialog_);
}

bool AddContactJob::TakesKeys(const DesktopWindow& window) {
  if (window.id == 0) return false;
  if (notice_.Showing()) return notice_.Shows(window.id);
  if (notice_.Confirmed() || step_ >= Step::kAdded) return false;
  // The window manager's word and the X server's: a key must reach the dialog.
  return window.id == dialog_ && desktop_.windows.HasInputFocus(window.id);
}

void AddContactJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  // An Up that went into a notice shown meanwhile (the contact added from elsewhere) did nothing
  // there: it is not typed again.
  if (step_ == Step::kToAddressField && keys == OnePress(NamedKey::kUp)) {
    step_ = Step::kPressAdd;
  } else if (step_ == Step::kPressAdd && window.id == dialog_ &&
             keys == OnePress(NamedKey::kEnter)) {
    step_ = Step::kAdded;
  }
}

void AddContactJob::AwaitConfirmation() {
  if (step_ != Step::kAdded) return;
  // Without the server's confirmation the contact was not added, and the job has failed however
  // the keys are typed; it is not reported as done.
  using Progress = AddedBuddyNotice::Progress;
  desktop_.wait.Until(kConfirmationWait, [&] {
    return notice_.progress() == Progress::kConfirmed || notice_.progress() == Progress::kRefused;
  });
  switch (notice_.progress()) {
    case Progress::kConfirmed:
      step_ = Step::kDismissNotice;
      return;
    case Progress::kRefused:
      throw Failure(error_code::kClientError,
                    "The server refused to add \"" + address_ + "\" to your contacts");
    case Progress::kInLocalList: {
      const std::string what = "Pidgin did not ask the server to add \"" + address_ +
                               "\" (it cannot make a server address of it), so it is not one of "
                               "your contacts";
      try {
        notice_.TakeOutLocalBuddy();
      } catch (const Failure&) {
        // On the way out: the contact was not added, which says more than why it stays listed.
        throw Failure(error_code::kClientError, what + "; Pidgin still lists it");
      }
      throw Failure(error_code::kClientError, what + "; it was taken out of Pidgin's list again");
    }
    case Progress::kAskedServer:
      throw Failure(error_code::kClientError,
                    "The server did not answer Pidgin's request to add \"" + address_ +
                        "\" to your contacts");
    case Progress::kNothing:
      break;
  }
  throw Failure(error_code::kClientError,
                "Pidgin did not add \"" + address_ +
                    "\" to your contacts: the Enter typed into its add-contact dialog did not "
                    "press Add. If the dialog is still open, press its Add button there");
}

}  // namespace plumwick::purple
