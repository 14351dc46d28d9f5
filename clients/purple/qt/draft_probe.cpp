// Whether a Pidgin conversation's entry holds a draft.
#include "clients/purple/qt/draft_probe.h"

#include <ctime>
#include <memory>
#include <string>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// Far enough ahead that Pidgin's own "time to announce typing again" never comes during the
// probe: only an entry that was empty makes Pidgin set the time anew.
constexpr std::uint32_t kTypeAgainAhead = 100000;
// How many characters of a draft the error quotes.
constexpr int kDraftNamed = 40;

// How often the entry is selected again when another program took the selection from Pidgin
// before the probe read it.
constexpr int kSelectAgainAtMost = 3;

QClipboard& Clipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) throw Failure(error_code::kClipboard, "There is no clipboard");
  return *clipboard;
}

// A copy of every format the selection offers: text, rich text, an image, a program's own.
std::unique_ptr<QMimeData> CopyOf(const QMimeData* data) {
  auto copy = std::make_unique<QMimeData>();
  if (data == nullptr) return copy;
  for (const QString& format : data->formats()) copy->setData(format, data->data(format));
  return copy;
}

// Gives the user's selection back, with every format it offered; a selection that offered
// nothing was none.
void GiveBack(QClipboard& clipboard, const QMimeData& selection) {
  if (selection.formats().isEmpty()) return;
  clipboard.setMimeData(CopyOf(&selection).release(), QClipboard::Selection);
}

}  // namespace

DraftProbe::~DraftProbe() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (step_ != Step::kDone && user_selection_ && clipboard != nullptr) {
    GiveBack(*clipboard, *user_selection_);
  }
}

KeySequence DraftProbe::Keys() {
  switch (step_) {
    case Step::kFirst:
      step_ = Step::kLook;
      by_selection_ =
          bus_.CallInt("PurplePrefsGetBool",
                       {Str(QStringLiteral("/purple/conversations/im/send_typing"))}) == 0;
      return by_selection_ ? SelectionKeys() : TimerKeys();
    case Step::kSelectAgain:
      step_ = Step::kLook;
      // The probe's space is still last in the entry: only the selection is made again.
      Clipboard().setText(QString(), QClipboard::Selection);
      return {KeyPress{.key = NamedKey::kEnd, .control = true},
              KeyPress{.key = NamedKey::kHome, .control = true, .shift = true}};
    case Step::kSelected:
      step_ = Step::kTakeBack;
      // The caret to the end, which ends the selection, and the probe's space out. Unless Pidgin
      // showed no sign of the space: a Backspace into an entry that never got it would take a
      // character of the user's.
      if (!seen_) return {KeyPress{.key = NamedKey::kEnd, .control = true}};
      return {KeyPress{.key = NamedKey::kEnd, .control = true}, KeyPress{NamedKey::kBackspace}};
    case Step::kLook:
    case Step::kTakeBack:
    case Step::kDone:
      break;
  }
  return {};
}

void DraftProbe::Typed(EventWait& wait, std::chrono::milliseconds limit) {
  switch (step_) {
    case Step::kLook:
      if (by_selection_) {
        step_ = Step::kSelected;
        LookAtSelection(wait, limit);
        return;
      }
      step_ = Step::kDone;
      LookAtTimers(wait, limit);
      break;
    case Step::kTakeBack:
      step_ = Step::kDone;
      // Pidgin drops the selection as it handles the Ctrl+End, if it has not yet: the user's
      // comes back either way.
      if (user_selection_) GiveBack(Clipboard(), *user_selection_);
      break;
    case Step::kFirst:
    case Step::kSelectAgain:
    case Step::kSelected:
    case Step::kDone:
      return;
  }
  if (!seen_) {
    throw Failure(error_code::kClientError,
                  std::string("Pidgin's conversation did not react to a key as it does: whether it "
                              "holds text that was not sent could not be seen, so the message was "
                              "not typed") +
                      (by_selection_ ? ". A space typed for the check may be left at the end of "
                                       "the conversation's text"
                                     : ""));
  }
}

KeySequence DraftProbe::TimerKeys() {
  im_ = bus_.CallInt("PurpleConversationGetImData", {Int(conversation_)});
  typed_timer_ = bus_.CallInt("PurpleConvImGetSendTypedTimeout", {Int(im_)});
  type_again_before_ = bus_.CallInt("PurpleConvImGetTypeAgain", {Int(im_)});
  bus_.Call("PurpleConvImSetTypeAgain",
            {Int(im_), QVariant::fromValue<std::uint32_t>(kTypeAgainAhead)});
  type_again_ = bus_.CallInt("PurpleConvImGetTypeAgain", {Int(im_)});
  // End first: a space typed over text the user selected would replace it.
  return {KeyPress{NamedKey::kEnd}, KeyText(U" "), KeyPress{NamedKey::kBackspace}};
}

void DraftProbe::LookAtTimers(EventWait& wait, std::chrono::milliseconds limit) {
  // Pidgin restarts its "typed" timer on every key that changes the entry, so a new timer says
  // the space was handled; the "type again" time changed with it when the entry was empty. The
  // Backspace comes after the space in Pidgin's queue: it is handled before any later key. The
  // timer is read first: once it says the space was handled, the time read after it already
  // shows what the space did, whatever Pidgin handles between the two calls.
  seen_ = wait.Until(limit, [&] {
    const std::int32_t typed_timer = bus_.CallInt("PurpleConvImGetSendTypedTimeout", {Int(im_)});
    if (bus_.CallInt("PurpleConvImGetTypeAgain", {Int(im_)}) != type_again_) return true;
    found_ = typed_timer != typed_timer_;
    return found_;
  });
  // Pidgin set its own time where the entry was empty; otherwise the probe's is still there, and
  // Pidgin's own comes back: the probe's is no business of the conversation's.
  if (seen_ && !found_) return;
  const std::time_t ahead = type_again_before_ - std::time(nullptr);
  bus_.Call("PurpleConvImSetTypeAgain",
            {Int(im_),
             QVariant::fromValue<std::uint32_t>(
                 type_again_before_ == 0 || ahead <= 0 ? 0 : static_cast<std::uint32_t>(ahead))});
}

KeySequence DraftProbe::SelectionKeys() {
  QClipboard& clipboard = Clipboard();
  // Kept to be given back; then taken, so that Pidgin taking it says it selected the entry's text.
  user_selection_ = CopyOf(clipboard.mimeData(QClipboard::Selection));
  clipboard.setText(QString(), QClipboard::Selection);
  // A key with Control held stays in the conversation's history where that has the focus (the
  // user clicked a link there, say); a character goes on into the entry, which takes the focus as
  // the key comes up. So the space and Backspace first, which leave the entry as it was (End
  // first, as above), and then every key goes into the entry.
  return {KeyPress{NamedKey::kEnd},
          KeyText(U" "),
          KeyPress{NamedKey::kBackspace},
          KeyPress{.key = NamedKey::kEnd, .control = true},
          KeyText(U" "),
          KeyPress{.key = NamedKey::kHome, .control = true, .shift = true}};
}

void DraftProbe::LookAtSelection(EventWait& wait, std::chrono::milliseconds limit) {
  QClipboard& clipboard = Clipboard();
  if (!wait.Until(limit, [&] { return !clipboard.ownsSelection(); })) return;
  QString selected = clipboard.text(QClipboard::Selection);
  // Anything but the entry's text and the probe's space last is not the entry's: another program
  // took the selection from Pidgin first. The entry is selected again; its space stays until then.
  if (!selected.endsWith(QLatin1Char(' '))) {
    if (++selected_again_ <= kSelectAgainAtMost) step_ = Step::kSelectAgain;
    return;
  }
  seen_ = true;
  selected.chop(1);
  found_ = !selected.isEmpty();
  if (!found_) return;
  // Named by its start: a draft may be long.
  qsizetype end = 0;
  for (int characters = 0; end < selected.size() && characters < kDraftNamed; ++characters) {
    end += selected.at(end).isHighSurrogate() && end + 1 < selected.size() ? 2 : 1;
  }
  text_ = selected.left(end).toStdString() + (end < selected.size() ? "…" : "");
}

}  // namespace plumwick::purple
