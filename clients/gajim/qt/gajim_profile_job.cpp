// Changing the user's nickname in Gajim's Profile window.
#include "clients/gajim/qt/gajim_profile_job.h"

#include <algorithm>
#include <string>
#include <vector>

#include "clients/gajim/gajim_shows.h"
#include "clients/gajim/qt/gajim_accounts.h"
#include "clients/gajim/qt/gajim_windows.h"
#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

using std::chrono::milliseconds;

// How often the window is asked back, and looked for, while another one has the focus.
constexpr milliseconds kBringBackEvery{300};
// How long the window has to read the user's profile from the server before Edit is pressed:
// until then it shows a spinner, and Edit is not there. A local server answers within
// milliseconds.
constexpr milliseconds kProfileLoad{1000};
// GTK holds a button pressed from the keyboard for 250 ms before it acts; keys typed meanwhile
// are lost.
constexpr milliseconds kButtonActs{500};
// How long the window has to close on Escape.
constexpr milliseconds kCloseWait{3000};

KeySequence KeysOf(GajimProfileJob::Step step) {
  using Step = GajimProfileJob::Step;
  switch (step) {
    case Step::kEdit:
      return AltPress(U'e');
    case Step::kToNickname:
      // GTK selects an entry's text as it takes the focus from the keyboard unless the user's
      // settings say otherwise: so the text is selected and deleted by the keys.
      return {KeyPress{.key = NamedKey::kTab, .count = 3}, KeyPress{.key = NamedKey::kEnd},
              KeyPress{.key = NamedKey::kHome, .shift = true}, KeyPress{.key = NamedKey::kDelete}};
    case Step::kSave:
      return AltPress(U's');
    case Step::kClose:
      return OnePress(NamedKey::kEscape);
    case Step::kNickname:
    case Step::kClosed:
      break;
  }
  return {};
}

GajimProfileJob::Step Next(GajimProfileJob::Step step) {
  return static_cast<GajimProfileJob::Step>(static_cast<int>(step) + 1);
}

}  // namespace

GajimProfileJob::GajimProfileJob(GajimBus& bus, const ClientDesktop& desktop)
    : bus_(bus),
      desktop_(desktop),
      account_(SignedOnAccounts(bus).front()),
      gajim_(bus.ServiceProcess()),
      bring_back_(desktop.wait, kBringBackEvery) {
  window_ =
      OpenGajimWindow(bus_, desktop_, gajim_, account_ + QStringLiteral("-profile"), {account_});
  if (window_ == 0) {
    const DesktopWindow focused = desktop_.focus.Focused();
    if (focused.pid == gajim_ && focused.title == kProfileTitle) {
      throw Failure(error_code::kClientError,
                    "Gajim's Profile window was open already, and is in front now: finish or "
                    "close it there, then change the nickname again");
    }
    throw Failure(
        error_code::kClientError,
        "Gajim did not show the Profile window of the account \"" + account_.toStdString() + "\"");
  }
  shown_at_ = desktop_.wait.Now();
}

KeySequence GajimProfileJob::OwnKeys(bool /*keys_follow*/) {
  return step_ < Step::kNickname ? KeysOf(step_) : KeySequence{};
}

bool GajimProfileJob::WindowOpen() {
  const std::vector<std::uint64_t> windows = desktop_.windows.WindowsOf(gajim_);
  return std::ranges::find(windows, window_) != windows.end();
}

void GajimProfileJob::PrepareForKeys(const DesktopWindow& focused) {
  if (focused.id == window_ || step_ == Step::kClosed || !bring_back_.Due()) return;
  if (!WindowOpen()) {
    throw Failure(error_code::kClientError,
                  step_ <= Step::kSave
                      ? "Gajim's Profile window was closed before the nickname was saved"
                      : "Gajim's Profile window was closed before the job closed it");
  }
  // Gajim asks for the focus for its new window, which a window manager that prevents focus
  // stealing refuses while another program is active; it grants a taskbar's request.
  desktop_.windows.Activate(window_);
}

bool GajimProfileJob::TakesKeys(const DesktopWindow& window) {
  if (step_ == Step::kEdit && desktop_.wait.Now() - shown_at_ < kProfileLoad) return false;
  // The keys go to the X server's input focus, which follows the desktop's a moment later.
  return step_ != Step::kClosed && window.id != 0 && window.id == window_ && window.pid == gajim_ &&
         window.title == kProfileTitle && desktop_.windows.HasInputFocus(window.id);
}

void GajimProfileJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  if (window.id != window_ || step_ == Step::kClosed) return;
  if (step_ != Step::kNickname && keys != KeysOf(step_)) return;
  typed_ = step_;
}

void GajimProfileJob::RequireSignedOn(const std::string& consequence) {
  const std::string show = bus_.CallString("get_status", {account_}).toStdString();
  if (show != kOffline && show != kConnecting) return;
  throw Failure(error_code::kNotSignedIn, "The account \"" + account_.toStdString() +
                                              "\" is not signed on, and Gajim saves a profile "
                                              "only while it is: " +
                                              consequence);
}

KeySequence GajimProfileJob::ClosingKeys() {
  if (step_ == Step::kSave) {
    RequireSignedOn(
        "the nickname was typed into Gajim's Profile window but not saved. Sign on and press "
        "Save there");
  }
  return step_ == Step::kSave || step_ == Step::kClose ? KeysOf(step_) : KeySequence{};
}

void GajimProfileJob::AwaitConfirmation() {
  if (!typed_) return;
  const Step typed = *typed_;
  typed_.reset();
  if (typed == Step::kEdit || typed == Step::kSave) desktop_.wait.Pause(kButtonActs);
  if (typed == Step::kSave) {
    RequireSignedOn("the nickname may not have been saved. Look in Gajim's Profile window");
  }
  if (typed == Step::kClose && !desktop_.wait.Until(kCloseWait, [&] { return !WindowOpen(); })) {
    throw Failure(error_code::kClientError,
                  "Gajim's Profile window did not close on Escape within " +
                      std::to_string(kCloseWait.count() / 1000) +
                      " s: the nickname may not have been saved. Look in the window");
  }
  step_ = Next(typed);
}

}  // namespace plumwick::gajim
