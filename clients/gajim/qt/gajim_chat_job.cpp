// A chat in Gajim's main window, its message sent by Gajim itself.
#include "clients/gajim/qt/gajim_chat_job.h"

#include <algorithm>
#include <utility>
#include <variant>

#include <QVariantMap>

#include "messenger/client_typing.h"
#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

// How long one request to show the main window is given to take the focus before it is asked
// again, and how often it is asked back while another window has the focus.
constexpr std::chrono::milliseconds kShowWait{400};
constexpr std::chrono::milliseconds kBringBackEvery{300};

std::string Text(const QString& text) {
  return text.toStdString();
}

}  // namespace

GajimChatJob::GajimChatJob(GajimBus& bus, const ClientDesktop& desktop, QString account,
                           QString address)
    : bus_(bus),
      desktop_(desktop),
      account_(std::move(account)),
      address_(std::move(address)),
      gajim_(bus.ServiceProcess()),
      bring_back_(desktop.wait, kBringBackEvery) {
  // The main window's actions are there once it is shown: "add-chat" before "show" does nothing.
  bus_.Activate(kApplicationObject, QStringLiteral("show"));
  bus_.Activate(kMainWindowObject, QStringLiteral("add-chat"),
                {QVariantMap{{QStringLiteral("account"), account_},
                             {QStringLiteral("jid"), address_},
                             {QStringLiteral("type"), QStringLiteral("contact")},
                             {QStringLiteral("select"), true}}});
  const Clock::TimePoint start = desktop_.wait.Now();
  if (desktop_.wait.Retry(
          messenger::kFocusWait, kShowWait, [&] { BringForward(); },
          [&] { return TakesKeys(desktop_.focus.Focused()); })) {
    return;
  }
  throw Failure(
      error_code::kFocus,
      "Gajim's chat with \"" + Text(address_) + "\" did not take the keyboard focus within " +
          std::to_string(
              std::chrono::duration_cast<std::chrono::seconds>(desktop_.wait.Now() - start)
                  .count()) +
          " s (" + messenger::DescribeFocus(desktop_.focus.Focused()) + "), so nothing was sent");
}

void GajimChatJob::BringForward() {
  bus_.Activate(kApplicationObject, QStringLiteral("show"));
  // A window manager that keeps programs from stealing the focus refuses Gajim's own request
  // after the user's click elsewhere; it grants a taskbar's. The main window is Gajim's first.
  const std::vector<std::uint64_t> windows = desktop_.windows.WindowsOf(gajim_);
  if (!windows.empty()) desktop_.windows.Activate(windows.front());
}

void GajimChatJob::PrepareForKeys(const DesktopWindow& focused) {
  if (TakesKeys(focused) || !bring_back_.Due()) return;
  BringForward();
}

bool GajimChatJob::TakesKeys(const DesktopWindow& window) {
  // The desktop's name for the focused window is not enough: the keys go to the X server's input
  // focus, which follows a moment later.
  return window.id != 0 && window.pid == gajim_ && window.title == kMainWindowTitle &&
         desktop_.windows.HasInputFocus(window.id);
}

void GajimChatJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  // The message's step is empty: the text goes by Gajim's call once the chat had the focus.
  if (text_ && keys.empty() && TakesKeys(window)) ready_ = true;
}

bool GajimChatJob::SendsText(const KeySequence& text) {
  std::u32string plain;
  for (const KeyToken& token : text) {
    const auto* characters = std::get_if<KeyText>(&token);
    if (characters == nullptr) {
      throw Failure(error_code::kKeyNotation,
                    "The message holds the key " + FormatKeyNotation({token}) +
                        ", which Gajim's chat would take as a key press, not as text: Gajim is "
                        "given the message's text only, so nothing was sent");
    }
    plain += *characters;
  }
  text_ = QString::fromStdU32String(plain);
  return true;
}

void GajimChatJob::AwaitConfirmation() {
  if (!text_ || !ready_ || sent_) return;
  // An empty message is nothing to send, as an Enter in an empty entry sends nothing.
  if (text_->isEmpty()) {
    sent_ = true;
    return;
  }
  // Listening before the call: Gajim reports the message before it answers.
  const MessageSentWatch watch(bus_, account_, address_);
  if (!bus_.CallBool("send_chat_message", {address_, *text_, account_})) {
    throw Quoted(error_code::kNotSignedIn, "Gajim refused to send the message: the account \"" +
                                               Text(account_) + "\" is not signed on");
  }
  const auto reported = [&] {
    return std::ranges::find(watch.Sent(), *text_) != watch.Sent().end();
  };
  if (!desktop_.wait.Until(kSentWait, reported)) {
    if (watch.Sent().empty()) {
      throw Quoted(error_code::kNoAnswer,
                   "Gajim took the message but did not report it sent within " +
                       std::to_string(kSentWait.count() / 1000) + " s: it may not have gone out");
    }
    throw Quoted(error_code::kClientError, "Gajim reported another text sent (\"" +
                                               Text(watch.Sent().back()) +
                                               "\"), not the message: it may not have gone out "
                                               "as it was");
  }
  sent_ = true;
}

Failure GajimChatJob::Quoted(std::int32_t code, const std::string& what) const {
  return Failure(code, "The message to \"" + Text(address_) + "\": " + what);
}

}  // namespace plumwick::gajim
