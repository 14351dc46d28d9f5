// The sandbox client with its Qt windows. Conversation windows open at the top-right of the screen,
// each a little below the last, clear of the program's centred window; closing one only hides it,
// so asking for the same contact again brings back the same window and its transcript.
#include "clients/sandbox/qt/qt_sandbox_client.h"

#include <QGuiApplication>
#include <QScreen>

#include "clients/sandbox/sandbox_messenger.h"

namespace plumwick::sandbox {

QtSandboxClient::QtSandboxClient(std::ostream& effects)
    : client_(std::make_shared<SandboxClient>(effects)),
      client_window_(std::make_unique<QtClientWindow>(*client_)) {
  client_->AddView(*client_window_);
  client_->AddView(*this);
  client_window_->show();
}

QtSandboxClient::~QtSandboxClient() {
  // Messenger objects may outlive the windows; the client must stop telling them.
  client_->RemoveView(*this);
  client_->RemoveView(*client_window_);
}

messenger::MessengerFactory QtSandboxClient::Factory() {
  return SandboxMessengerFactory(client_);
}

QtConversationWindow* QtSandboxClient::conversation_window(const std::string& signin_name) {
  const auto found = conversations_.find(signin_name);
  return found == conversations_.end() ? nullptr : found->second.get();
}

void QtSandboxClient::SignedOut() {
  for (auto& [signin_name, window] : conversations_) window->SignedOut();
}

void QtSandboxClient::OpenConversation(const std::string& signin_name) {
  auto& window = conversations_[signin_name];
  if (!window) {
    window = std::make_unique<QtConversationWindow>(*client_, signin_name);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect available = screen->availableGeometry();
      const int step = 24 * static_cast<int>((conversations_.size() - 1) % 8);
      window->move(available.right() - window->width() - 8, available.top() + 8 + step);
    }
  }
  window->Present();
}

}  // namespace plumwick::sandbox
