// The options dialog of the sandbox client.
#include "clients/sandbox/qt/qt_options_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/failure.h"

namespace plumwick::sandbox {

QtOptionsDialog::QtOptionsDialog(SandboxClient& client)
    : client_(client),
      display_name_(new QLineEdit),
      error_(new QLabel),
      notice_(QStringLiteral("Display name changed")) {
  setWindowTitle(QStringLiteral("Options"));
  display_name_->setObjectName(QStringLiteral("displayName"));
  error_->setObjectName(QStringLiteral("error"));
  error_->setWordWrap(true);
  error_->hide();

  auto* general = new QWidget;
  auto* fields = new QFormLayout(general);
  fields->addRow(QStringLiteral("Display name:"), display_name_);
  fields->addRow(error_);
  auto* pages = new QTabWidget;
  pages->setObjectName(QStringLiteral("pages"));
  pages->addTab(general, QStringLiteral("General"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  // Enter in the name field reaches the dialog, which presses its default button.
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);
  layout->addWidget(buttons);
  setFocusProxy(display_name_);
  display_name_->installEventFilter(this);
  resize(320, sizeHint().height());
  connect(buttons, &QDialogButtonBox::accepted, this, &QtOptionsDialog::Apply);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtOptionsDialog::Present() {
  notice_.hide();
  if (!isVisible()) {
    display_name_->setText(QString::fromStdString(client_.display_name()));
    error_->clear();
    error_->hide();
  }
  show();
  raise();
  activateWindow();
  display_name_->setFocus();
  display_name_->selectAll();
  select_name_ = true;
}

bool QtOptionsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == display_name_ && select_name_) {
    switch (event->type()) {
      case QEvent::FocusIn:
        display_name_->selectAll();
        break;
      case QEvent::KeyPress:
      case QEvent::MouseButtonPress:
        select_name_ = false;
        break;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void QtOptionsDialog::Apply() {
  const QString name = display_name_->text();
  try {
    client_.SetDisplayName(name.toStdString());
  } catch (const Failure& failure) {
    // This dialog's own event handler: a failure must not cross Qt's event loop, so it is shown
    // here and the dialog stays open.
    error_->setText(QString::fromStdString(failure.description()));
    error_->show();
    display_name_->setFocus();
    return;
  }
  accept();
  notice_.Present(QStringLiteral("Your display name is now ") + name + QStringLiteral("."), pos());
}

}  // namespace plumwick::sandbox
