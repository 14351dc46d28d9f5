// The sandbox client with its Qt windows. Conversation windows open at the top-right of the screen,
// each a little below the last, and the dialogs at the left under the client window, all clear of
// the program's centred window. Closing one only hides it, so asking for the same contact or
// dialog again brings back the same window.
#include "clients/sandbox/qt/qt_sandbox_client.h"

#include <QGuiApplication>
#include <QScreen>

#include "clients/sandbox/sandbox_messenger.h"

namespace plumwick::sandbox {
namespace {

// A window the focus can be in: shown, and with that desktop id. Hidden windows take no keys.
bool Shows(const QWidget* window, std::uint64_t id) {
  return window != nullptr && window->isVisible() &&
         static_cast<std::uint64_t>(window->internalWinId()) == id;
}

// Puts a dialog at the left edge, below the client window.
void PlaceDialog(QWidget& dialog, const QWidget& client_window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    dialog.move(available.left() + 8, client_window.frameGeometry().bottom() + 24);
  }
}

}  // namespace

QtSandboxClient::QtSandboxClient(std::ostream& effects)
    : client_(std::make_shared<SandboxClient>(effects)) {
  client_->AddView(*this);
}

QtSandboxClient::~QtSandboxClient() {
  // Messenger objects may outlive the windows; the client must stop telling them.
  client_->RemoveView(*this);
  if (client_window_) client_->RemoveView(*client_window_);
}

QtClientWindow& QtSandboxClient::client_window() {
  if (!client_window_) {
    client_window_ = std::make_unique<QtClientWindow>(*client_);
    client_->AddView(*client_window_);
  }
  return *client_window_;
}

void QtSandboxClient::ShowWindow() {
  QtClientWindow& window = client_window();
  // The program's window keeps the focus it had at start.
  window.setAttribute(Qt::WA_ShowWithoutActivating);
  window.show();
}

messenger::MessengerFactory QtSandboxClient::Factory() {
  return SandboxMessengerFactory(client_);
}

std::unique_ptr<messenger::Messenger> QtSandboxClient::Connect(EventWait& wait) {
  return std::make_unique<SandboxMessenger>(client_, wait);
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

bool QtSandboxClient::OpenAddContact(const std::string& address) {
  if (!add_contact_) {
    add_contact_ = std::make_unique<QtAddContactDialog>(*client_);
    PlaceDialog(*add_contact_, client_window());
  }
  add_contact_->Present(address);
  return true;
}

bool QtSandboxClient::OpenOptions() {
  if (!options_) {
    options_ = std::make_unique<clients::OptionsDialog>(
        [client = client_](const std::string& name) { client->SetDisplayName(name); });
    PlaceDialog(*options_, client_window());
  }
  options_->Present(QString::fromStdString(client_->display_name()));
  return true;
}

QWidget* QtSandboxClient::JobWidget(JobWindow window, const std::string& contact) const noexcept {
  switch (window) {
    case JobWindow::kConversation: {
      const auto found = conversations_.find(contact);
      return found != conversations_.end() ? found->second.get() : nullptr;
    }
    case JobWindow::kAddContactDialog:
      return add_contact_.get();
    case JobWindow::kAddedNotice:
      return add_contact_ ? &add_contact_->confirmation() : nullptr;
    case JobWindow::kOptionsDialog:
      return options_.get();
  }
  return nullptr;
}

bool QtSandboxClient::ShowsJobWindow(JobWindow window, const std::string& contact,
                                     std::uint64_t id) const noexcept {
  return Shows(JobWidget(window, contact), id);
}

bool QtSandboxClient::ShowsJobWindowAtAll(JobWindow window,
                                          const std::string& contact) const noexcept {
  const QWidget* shown = JobWidget(window, contact);
  return shown != nullptr && shown->isVisible();
}

void QtSandboxClient::BringBack(JobWindow window, const std::string& contact) {
  QWidget* shown = JobWidget(window, contact);
  if (shown == nullptr || !shown->isVisible()) return;
  // As it is: its text, selection and focused field stay.
  shown->raise();
  shown->activateWindow();
}

std::string QtSandboxClient::EntryText(const std::string& contact) const {
  const auto found = conversations_.find(contact);
  return found == conversations_.end() ? std::string()
                                       : found->second->entry().text().toStdString();
}

bool QtSandboxClient::ShowAddedNotice() {
  return add_contact_ && add_contact_->ShowConfirmationAgain();
}

}  // namespace plumwick::sandbox
