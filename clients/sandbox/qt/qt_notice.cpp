// A notice of the sandbox client. Dismissing it only hides it; its owner shows it again next time.
#include "clients/sandbox/qt/qt_notice.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plumwick::sandbox {

QtNotice::QtNotice(const QString& title)
    : message_(new QLabel), ok_(new QPushButton(QStringLiteral("OK"))) {
  setWindowTitle(title);
  message_->setObjectName(QStringLiteral("message"));
  ok_->setObjectName(QStringLiteral("ok"));
  // The default button is what Enter presses wherever the focus is in the notice.
  ok_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void QtNotice::Present(const QString& message, const QPoint& position) {
  message_->setText(message);
  move(position);
  show();
  raise();
  activateWindow();
  ok_->setFocus();
}

}  // namespace plumwick::sandbox
