// Adding a contact through Gajim's Add Contact window.
#include "clients/gajim/qt/gajim_add_contact_job.h"

#include <algorithm>
#include <vector>

#include "clients/gajim/qt/gajim_accounts.h"
#include "clients/gajim/qt/gajim_contacts.h"
#include "clients/gajim/qt/gajim_windows.h"
#include "clients/purple/xmpp_address.h"
#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

// How often the window is asked back while another one has the focus: the window manager needs a
// moment to act on each request.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long after the Return that adds the contact Gajim's roster has to list it: the server
// pushes it back within milliseconds on a working connection.
constexpr std::chrono::milliseconds kRosterWait{3000};

// The bare address in `typed`; Failure(kBadArgument) for text that is none, for which Gajim would
// open an error window of its own (and some of its calls give no answer at all).
QString AddressIn(const std::string& typed) {
  const purple::XmppAddress read = purple::ReadXmppAddress(typed);
  if (!read.problem.empty()) {
    throw Failure(error_code::kBadArgument,
                  "\"" + typed + "\" is not an XMPP address: " + read.problem);
  }
  return QString::fromStdString(read.bare);
}

// Gajim keeps Next greyed out for the user's own address and for one already listed; both are
// said here, in Gajim's words, before the window opens.
void RequireNew(GajimBus& bus, const QString& address) {
  const std::string text = address.toStdString();
  for (const QString& account : SignedOnAccounts(bus)) {
    if (AccountAddress(bus, account).compare(address, Qt::CaseInsensitive) == 0) {
      throw Failure(error_code::kClientError,
                    "\"" + text + "\" is you: you cannot add yourself to your contact list");
    }
  }
  try {
    FindContact(bus, text);
  } catch (const Failure& failure) {
    if (failure.code() == error_code::kUnknownContact) return;
    throw;
  }
  throw Failure(error_code::kClientError, "\"" + text + "\" is already in your contact list");
}

}  // namespace

GajimAddContactJob::GajimAddContactJob(GajimBus& bus, const ClientDesktop& desktop,
                                       const std::string& typed)
    : bus_(bus),
      desktop_(desktop),
      address_(AddressIn(typed)),
      bring_back_(desktop.wait, kBringBackEvery) {
  RequireNew(bus_, address_);
  gajim_ = bus_.ServiceProcess();
  window_ = OpenGajimWindow(bus_, desktop_, gajim_, QStringLiteral("add-contact"), {address_});
  if (window_ == 0) {
    throw Failure(error_code::kClientError, "Gajim did not show its Add Contact window for \"" +
                                                address_.toStdString() + "\"");
  }
}

void GajimAddContactJob::PrepareForKeys(const DesktopWindow& focused) {
  // Gajim asks for the focus for its new window, which a window manager that prevents focus
  // stealing refuses while another program is active; it grants a taskbar's request.
  if (focused.id != window_ && step_ < Step::kAdded && bring_back_.Due()) {
    desktop_.windows.Activate(window_);
  }
}

bool GajimAddContactJob::TakesKeys(const DesktopWindow& window) {
  // While Gajim asks the server about the address the window has another title, and waits; the
  // keys go to the X server's input focus, which follows the desktop's a moment later.
  return step_ < Step::kAdded && window.id != 0 && window.id == window_ && window.pid == gajim_ &&
         window.title == kAddContactTitle && desktop_.windows.HasInputFocus(window.id);
}

void GajimAddContactJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  if (window.id != window_ || keys != OnePress(NamedKey::kEnter)) return;
  if (step_ == Step::kPressNext) {
    step_ = Step::kPressAdd;
  } else if (step_ == Step::kPressAdd) {
    step_ = Step::kAdded;
  }
}

bool GajimAddContactJob::Listed() {
  try {
    FindContact(bus_, address_.toStdString());
    return true;
  } catch (const Failure& failure) {
    if (failure.code() == error_code::kUnknownContact) return false;
    throw;
  }
}

void GajimAddContactJob::AwaitConfirmation() {
  if (step_ != Step::kAdded) return;
  if (desktop_.wait.Until(kRosterWait, [&] { return Listed(); })) {
    step_ = Step::kDone;
    return;
  }
  throw Failure(error_code::kClientError,
                "Gajim did not add \"" + address_.toStdString() +
                    "\" to your contacts: its roster does not list it " +
                    std::to_string(kRosterWait.count() / 1000) +
                    " s after the second Return. The server may not have answered Gajim's "
                    "question about the address in time, or found it is no contact's; if the Add "
                    "Contact window is still open, it says which");
}

}  // namespace plumwick::gajim
