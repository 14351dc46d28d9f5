// Removing a contact through Gajim's Remove Contact window.
#include "clients/gajim/qt/gajim_remove_contact_job.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "clients/gajim/qt/gajim_accounts.h"
#include "clients/gajim/qt/gajim_contacts.h"
#include "clients/gajim/qt/gajim_windows.h"

namespace plumwick::gajim {

namespace {

// How often the window is asked back while another one has the focus: the window manager needs a
// moment to act on each request.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long after Alt+R Gajim's roster has to lose the contact: the server pushes the change back
// within milliseconds on a working connection.
constexpr std::chrono::milliseconds kRosterWait{3000};

std::string Quoted(const QString& text) {
  return "\"" + text.toStdString() + "\"";
}

}  // namespace

GajimRemoveContactJob::GajimRemoveContactJob(GajimBus& bus, const ClientDesktop& desktop,
                                             QString account, QString address)
    : bus_(bus),
      desktop_(desktop),
      account_(std::move(account)),
      address_(std::move(address)),
      bring_back_(desktop.wait, kBringBackEvery) {
  if (!SignedOnAccounts(bus_).contains(account_)) {
    throw Failure(error_code::kNotSignedIn, "The account " + Quoted(account_) +
                                                " is not signed on in Gajim, so " +
                                                Quoted(address_) + " cannot be removed from it");
  }
  if (!Listed()) {
    throw Failure(error_code::kUnknownContact,
                  Quoted(address_) + " is not in your contact list, so there is nothing to remove");
  }
  gajim_ = bus_.ServiceProcess();
  window_ = OpenGajimWindow(bus_, desktop_, gajim_, account_ + QStringLiteral("-remove-contact"),
                            {address_});
  if (window_ == 0) {
    throw Failure(error_code::kClientError,
                  "Gajim did not show its Remove Contact window for " + Quoted(address_));
  }
}

KeySequence GajimRemoveContactJob::OwnKeys(bool /*keys_follow*/) {
  return step_ == Step::kPressRemove ? AltPress(U'r') : KeySequence{};
}

void GajimRemoveContactJob::PrepareForKeys(const DesktopWindow& focused) {
  if (step_ != Step::kPressRemove || focused.id == window_) return;
  const std::vector<std::uint64_t> open = desktop_.windows.WindowsOf(gajim_);
  if (std::ranges::find(open, window_) == open.end()) throw ClosedTooEarly();
  // Gajim asks for the focus for its new window, which a window manager that prevents focus
  // stealing refuses while another program is active; it grants a taskbar's request.
  if (bring_back_.Due()) desktop_.windows.Activate(window_);
}

Failure GajimRemoveContactJob::ClosedTooEarly() {
  const std::string closed =
      "Gajim's Remove Contact window for " + Quoted(address_) + " closed before Alt+R reached it";
  if (Listed()) {
    return Failure(error_code::kClientError, closed + ", and " + Quoted(address_) +
                                                 " is still in your contact list in Gajim: it "
                                                 "was not removed (the window was cancelled)");
  }
  return Failure(error_code::kClientError, closed + "; Gajim no longer lists " + Quoted(address_) +
                                               ": the window's Remove was pressed there");
}

bool GajimRemoveContactJob::TakesKeys(const DesktopWindow& window) {
  // The keys go to the X server's input focus, which follows the desktop's a moment later.
  return step_ == Step::kPressRemove && window.id != 0 && window.id == window_ &&
         window.pid == gajim_ && window.title == kRemoveContactTitle &&
         desktop_.windows.HasInputFocus(window.id);
}

void GajimRemoveContactJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  if (step_ == Step::kPressRemove && window.id == window_ && keys == AltPress(U'r')) {
    step_ = Step::kRemoved;
  }
}

bool GajimRemoveContactJob::Listed() {
  return Lists(bus_, account_, address_);
}

void GajimRemoveContactJob::AwaitConfirmation() {
  if (step_ != Step::kRemoved) return;
  if (desktop_.wait.Until(kRosterWait, [&] { return !Listed(); })) {
    step_ = Step::kDone;
    return;
  }
  throw Failure(error_code::kClientError,
                Quoted(address_) + " is still in your contact list in Gajim " +
                    std::to_string(kRosterWait.count() / 1000) +
                    " s after Alt+R pressed Remove in its Remove Contact window. The server may "
                    "not have answered Gajim in time, or refused; if the window is still open, it "
                    "did not take the key");
}

}  // namespace plumwick::gajim
