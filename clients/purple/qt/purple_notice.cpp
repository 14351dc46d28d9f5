// A notice of this client. Dismissing it only hides it; it is shown again next time.
#include "clients/purple/qt/purple_notice.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plumwick::purple {

PurpleNotice::PurpleNotice(const QString& title)
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

void PurpleNotice::Present(const QString& message) {
  message_->setText(message);
  adjustSize();
  show();
  raise();
  activateWindow();
  ok_->setFocus();
}

bool PurpleNotice::Shows(std::uint64_t id) const {
  return isVisible() && static_cast<std::uint64_t>(internalWinId()) == id;
}

}  // namespace plumwick::purple
