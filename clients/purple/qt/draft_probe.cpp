// Whether a Pidgin conversation's entry holds a draft.
#include "clients/purple/qt/draft_probe.h"

#include <ctime>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// Far enough ahead that Pidgin's own "time to announce typing again" never comes during the
// probe: only an entry that was empty makes Pidgin set the time anew.
constexpr std::uint32_t kTypeAgainAhead = 100000;

}  // namespace

bool DraftProbe::Possible() {
  return bus_.CallInt("PurplePrefsGetBool",
                      {Str(QStringLiteral("/purple/conversations/im/send_typing"))}) != 0;
}

KeySequence DraftProbe::Keys() {
  im_ = bus_.CallInt("PurpleConversationGetImData", {Int(conversation_)});
  typed_timer_ = bus_.CallInt("PurpleConvImGetSendTypedTimeout", {Int(im_)});
  type_again_before_ = bus_.CallInt("PurpleConvImGetTypeAgain", {Int(im_)});
  bus_.Call("PurpleConvImSetTypeAgain",
            {Int(im_), QVariant::fromValue<std::uint32_t>(kTypeAgainAhead)});
  type_again_ = bus_.CallInt("PurpleConvImGetTypeAgain", {Int(im_)});
  // End first: a space typed over text the user selected would replace it.
  return {KeyPress{NamedKey::kEnd}, KeyText(U" "), KeyPress{NamedKey::kBackspace}};
}

bool DraftProbe::FoundDraft(EventWait& wait, std::chrono::milliseconds limit) {
  // Pidgin restarts its "typed" timer on every key that changes the entry, so a new timer says
  // the space was handled; the "type again" time changed with it when the entry was empty. The
  // Backspace comes after the space in Pidgin's queue: it is handled before any later key.
  bool draft = false;
  const bool handled = wait.Until(limit, [&] {
    if (bus_.CallInt("PurpleConvImGetTypeAgain", {Int(im_)}) != type_again_) return true;
    draft = bus_.CallInt("PurpleConvImGetSendTypedTimeout", {Int(im_)}) != typed_timer_;
    return draft;
  });
  if (!handled) {
    throw Failure(error_code::kClientError,
                  "Pidgin's conversation did not react to a key as it does: whether it holds text "
                  "that was not sent could not be seen, so the message was not typed");
  }
  if (draft) {
    // Pidgin's own time as it was: the probe's is no business of the conversation's.
    const std::time_t ahead = type_again_before_ - std::time(nullptr);
    bus_.Call("PurpleConvImSetTypeAgain",
              {Int(im_),
               QVariant::fromValue<std::uint32_t>(
                   type_again_before_ == 0 || ahead <= 0 ? 0 : static_cast<std::uint32_t>(ahead))});
  }
  return draft;
}

}  // namespace plumwick::purple
