// The button on a QAbstractButton.
#include "platform/qt/qt_button.h"

namespace plumwick {

void QtButton::SetEnabled(bool enabled) {
  // Before Qt passes the focus on to the next control in the chain.
  if (!enabled) working_.TakeFocusFrom(button_);
  button_.setEnabled(enabled);
}

void QtButton::OnClick(std::function<void()> handler) {
  QObject::connect(&button_, &QAbstractButton::clicked, &button_,
                   [handler = std::move(handler)] { handler(); });
}

}  // namespace plumwick
