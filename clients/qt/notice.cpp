// A short notice of a client.
#include "clients/qt/notice.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plumwick::clients {

Notice::Notice(const QString& title)
    : message_(new QLabel), ok_(new QPushButton(QStringLiteral("OK"))) {
  setWindowTitle(title);
  message_->setObjectName(QStringLiteral("message"));
  ok_->setObjectName(QStringLiteral("ok"));
  // Enter presses the default button wherever the focus is in the notice.
  ok_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void Notice::Present(const QString& message, std::optional<QPoint> at) {
  message_->setText(message);
  adjustSize();
  if (at) move(*at);
  show();
  raise();
  activateWindow();
  ok_->setFocus();
}

bool Notice::Shows(std::uint64_t id) const {
  return isVisible() && static_cast<std::uint64_t>(internalWinId()) == id;
}

}  // namespace plumwick::clients
