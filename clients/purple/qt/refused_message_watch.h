// Hears when a message to the contact did not go through although Pidgin sent it: Pidgin writes an
// error into the conversation (its WroteImMsg report with the error flag: a message too large,
// say), or the XMPP server sends the message back as an error (an address no one has: Pidgin shows
// nothing then, but it reports every stanza it sends and receives). A bounce is matched to a
// message by the stanza's id, so that a refused typing notification is not taken for it.
#pragma once

#include <optional>
#include <set>
#include <string>

#include <QObject>
#include <QString>

#include "clients/purple/qt/purple_bus.h"

namespace plumwick::purple {

// libpurple's PURPLE_MESSAGE_ERROR flag of a message written into a conversation.
inline constexpr std::uint32_t kErrorMessageFlag = 0x0200;

// The id of an XMPP message stanza with a body sent to `contact`, as Pidgin reports the text it
// sends; empty for any other stanza.
std::string SentMessageId(const QString& stanza, const QString& contact);

class RefusedMessageWatch final : public QObject {
  Q_OBJECT
 public:
  // Listens from now on for refusals of messages to `contact` in `conversation`. Throws
  // Failure(kClientError) when the bus refuses.
  RefusedMessageWatch(PurpleBus& bus, Handle conversation, const std::string& contact);
  ~RefusedMessageWatch() override;

  // Why the first refused message did not go through, as Pidgin or the server put it.
  const std::optional<std::string>& Refusal() const { return refusal_; }

 private Q_SLOTS:
  void OnWroteImMsg(int account, const QString& who, const QString& message, int conversation,
                    uint flags);
  void OnSendingText(int connection, const QString& stanza);
  void OnReceivingMessage(int connection, const QString& type, const QString& id,
                          const QString& from, const QString& to, int packet);

 private:
  PurpleBus& bus_;
  const Handle conversation_;
  const QString contact_;
  std::set<QString> sent_ids_;
  std::optional<std::string> refusal_;
};

}  // namespace plumwick::purple
