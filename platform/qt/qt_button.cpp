// The button on a QAbstractButton.
#include "platform/qt/qt_button.h"

namespace plumwick {

void QtButton::OnClick(std::function<void()> handler) {
  QObject::connect(&button_, &QAbstractButton::clicked, &button_,
                   [handler = std::move(handler)] { handler(); });
}

}  // namespace plumwick
