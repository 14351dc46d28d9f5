// Gajim's reports of the messages it sent (the MessageSent signal of its remote object: the
// account, then the contact's address and the text as it went out), collected for one contact on
// one account. A message the program asks Gajim to send counts as sent only once Gajim says so.
#pragma once

#include <string>
#include <vector>

#include <QDBusMessage>
#include <QObject>
#include <QString>

#include "clients/gajim/qt/gajim_bus.h"

namespace plumwick::gajim {

// The strings of a signal's arguments in their order, through nested lists and variants:
// MessageSent gives {account, address, text}.
QStringList SignalStrings(const QVariantList& arguments);

class MessageSentWatch final : public QObject {
  Q_OBJECT
 public:
  // Keeps Gajim's reports of messages sent to `address` on `account` from now on, whichever
  // process owns Gajim's name. Throws Failure(kClientError) when the bus refuses.
  MessageSentWatch(GajimBus& bus, QString account, QString address);
  ~MessageSentWatch() override;

  MessageSentWatch(const MessageSentWatch&) = delete;
  MessageSentWatch& operator=(const MessageSentWatch&) = delete;

  // The texts Gajim reported sent to the contact, oldest first.
  const std::vector<QString>& Sent() const { return sent_; }

 private Q_SLOTS:
  void OnMessageSent(const QDBusMessage& signal);

 private:
  GajimBus& bus_;
  QString account_;
  QString address_;
  std::vector<QString> sent_;
};

}  // namespace plumwick::gajim
