// Confirms a message sent through a Pidgin conversation. The program types the message and Enter
// into the conversation, and typed keys say nothing of what became of them: a key lost on the way
// or a conversation that did not take the text would pass for a sent message. Pidgin reports
// every message it sent (its SentImMsg signal, with the account, the receiver and the message as
// HTML); the watch collects the reports for the one conversation expected.
#pragma once

#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "clients/purple/qt/purple_bus.h"

namespace plumwick::purple {

// Pidgin's message text as the user typed it: the HTML entities Pidgin escapes with turned back
// and its line breaks as newlines.
std::string PlainMessageText(const QString& html);

// Whether Pidgin's receiver is the contact: XMPP addresses compare without regard to case, and a
// conversation bound to one of the contact's resources ("/laptop") is the contact's too.
bool SameContact(const QString& receiver, const QString& contact);

class SentMessageWatch final : public QObject {
  Q_OBJECT
 public:
  // Keeps the reports of messages sent to `contact` on `account` from now on. Listens on the bus
  // whichever process owns the service name. Throws Failure(kClientError) when the bus refuses.
  SentMessageWatch(PurpleBus& bus, Handle account, const std::string& contact);
  ~SentMessageWatch() override;

  // The texts Pidgin reported sent to the contact expected, oldest first.
  const std::vector<std::string>& Sent() const { return sent_; }

 private Q_SLOTS:
  void OnSentImMsg(int account, const QString& receiver, const QString& message);

 private:
  struct Expected {
    Handle account;
    QString contact;
  };

  PurpleBus& bus_;
  Expected expected_;
  std::vector<std::string> sent_;
};

}  // namespace plumwick::purple
