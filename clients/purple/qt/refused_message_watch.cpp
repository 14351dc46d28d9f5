// Hears when a message to the contact did not go through.
#include "clients/purple/qt/refused_message_watch.h"

#include <QRegularExpression>

#include "clients/purple/qt/sent_message_watch.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// The XMPP signals are the protocol's own: Pidgin has them only while an XMPP account exists, and a
// subscription to a signal that never comes costs nothing.
const Subscription kSubscriptions[] = {
    {"WroteImMsg", SLOT(OnWroteImMsg(int, QString, QString, int, uint))},
    {"JabberSendingText", SLOT(OnSendingText(int, QString))},
    {"JabberReceivingMessage",
     SLOT(OnReceivingMessage(int, QString, QString, QString, QString, int))},
};

}  // namespace

std::string SentMessageId(const QString& stanza, const QString& contact) {
  // Pidgin writes its stanzas with single-quoted attributes: <message type='chat' id='..' to='..'>.
  static const QRegularExpression head(QStringLiteral("^<message\\s[^>]*>"));
  static const QRegularExpression attribute(QStringLiteral("\\s(id|to)='([^']*)'"));
  const QRegularExpressionMatch found = head.match(stanza);
  if (!found.hasMatch() || !stanza.contains(QLatin1String("<body>"))) return {};
  QString id;
  QString to;
  for (auto it = attribute.globalMatch(found.captured()); it.hasNext();) {
    const QRegularExpressionMatch pair = it.next();
    (pair.captured(1) == QLatin1String("id") ? id : to) = pair.captured(2);
  }
  return SameContact(to, contact) ? id.toStdString() : std::string();
}

RefusedMessageWatch::RefusedMessageWatch(PurpleBus& bus, Handle conversation,
                                         const std::string& contact)
    : bus_(bus), conversation_(conversation), contact_(QString::fromStdString(contact)) {
  if (const char* refused = bus_.Listen(kSubscriptions, this)) {
    throw Failure(error_code::kClientError, std::string("Pidgin's ") + refused +
                                                " signal cannot be listened to on the session bus");
  }
}

RefusedMessageWatch::~RefusedMessageWatch() {
  bus_.StopListening(kSubscriptions, this);
}

void RefusedMessageWatch::OnWroteImMsg(int /*account*/, const QString& /*who*/,
                                       const QString& message, int conversation, uint flags) {
  if (conversation != conversation_ || (flags & kErrorMessageFlag) == 0 || refusal_) return;
  refusal_ = "Pidgin reported: " + PlainMessageText(message);
}

void RefusedMessageWatch::OnSendingText(int /*connection*/, const QString& stanza) {
  if (const std::string id = SentMessageId(stanza, contact_); !id.empty()) {
    sent_ids_.insert(QString::fromStdString(id));
  }
}

void RefusedMessageWatch::OnReceivingMessage(int /*connection*/, const QString& type,
                                             const QString& id, const QString& from,
                                             const QString& /*to*/, int /*packet*/) {
  if (type != QLatin1String("error") || !sent_ids_.contains(id) || refusal_) return;
  // The stanza itself is gone by the time a program could ask Pidgin for it: its error
  // condition cannot be read, only that the server sent the message back.
  refusal_ = "the server of \"" + from.toStdString() +
             "\" sent the message back undelivered (an error instead of delivery: no such "
             "address, or the server does not take messages for it)";
}

}  // namespace plumwick::purple
