// A conversation window of the sandbox client.
#include "clients/sandbox/qt/qt_conversation_window.h"

#include <string>
#include <utility>

#include <QVBoxLayout>

#include "platform/failure.h"

namespace plumwick::sandbox {

QtConversationWindow::QtConversationWindow(SandboxClient& client, std::string signin_name)
    : client_(client),
      signin_name_(std::move(signin_name)),
      transcript_(new QPlainTextEdit),
      entry_(new QtMessageEntry([this] { Send(); })) {
  setWindowTitle(QString::fromStdString(signin_name_) + QStringLiteral(" - Conversation"));
  transcript_->setObjectName(QStringLiteral("transcript"));
  transcript_->setAccessibleName(QStringLiteral("Conversation"));
  transcript_->setReadOnly(true);
  // Only the entry takes keys: typed text must never land in the transcript.
  transcript_->setFocusPolicy(Qt::NoFocus);
  entry_->setObjectName(QStringLiteral("entry"));
  entry_->setAccessibleName(QStringLiteral("Message"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(transcript_);
  layout->addWidget(entry_);
  setFocusProxy(entry_);
  resize(300, 220);
}

void QtConversationWindow::Present() {
  show();
  raise();
  activateWindow();
  entry_->setFocus();
}

void QtConversationWindow::SignedOut() {
  entry_->setEnabled(false);
  transcript_->appendPlainText(QStringLiteral("(You are signed out.)"));
}

void QtConversationWindow::Send() {
  const QString text = entry_->text();
  if (text.isEmpty()) return;
  try {
    client_.SendMessage(signin_name_, text.toStdString());
  } catch (const Failure& failure) {
    // This window's own event handler: a failure must not cross Qt's event loop, so it is shown
    // here and the line stays in the entry.
    transcript_->appendPlainText(QStringLiteral("(Not sent: ") +
                                 QString::fromStdString(failure.description()) +
                                 QStringLiteral(")"));
    return;
  }
  messages_ << text;
  transcript_->appendPlainText(QString::fromStdString(client_.display_name()) +
                               QStringLiteral(": ") + text);
  entry_->Clear();
}

}  // namespace plumwick::sandbox
