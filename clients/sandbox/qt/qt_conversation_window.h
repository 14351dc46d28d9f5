// A conversation with one contact: a read-only transcript above a one-line entry (QtMessageEntry,
// which takes long texts typed into it in linear time). Enter in the entry sends its line through
// the client; the transcript then shows it as "<display name>: <text>", one line per message, and
// Messages() keeps each sent text exactly. A line the client refuses stays in the entry.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

#include "clients/sandbox/qt/qt_message_entry.h"
#include "clients/sandbox/sandbox_client.h"

namespace plumwick::sandbox {

class QtConversationWindow final : public QWidget {
  Q_OBJECT
 public:
  QtConversationWindow(SandboxClient& client, std::string signin_name);

  // Shows the window, brings it to the front and gives the entry the keyboard focus.
  void Present();
  // Nothing more can be sent; the window stays for the person to read.
  void SignedOut();

  const std::string& signin_name() const { return signin_name_; }
  QtMessageEntry& entry() { return *entry_; }
  QPlainTextEdit& transcript() { return *transcript_; }
  // The texts sent from this window, each exactly as typed.
  const QStringList& Messages() const { return messages_; }

 private:
  void Send();

  SandboxClient& client_;
  std::string signin_name_;
  QPlainTextEdit* transcript_;
  QtMessageEntry* entry_;
  QStringList messages_;
};

}  // namespace plumwick::sandbox
