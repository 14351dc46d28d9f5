// The options dialog of the sandbox client.
#include "clients/sandbox/qt/qt_options_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/failure.h"

namespace plumwick::sandbox {

namespace {

const QString kOptionsTitle = QStringLiteral("Options");
const QString kNoticeTitle = QStringLiteral("Display name changed");

}  // namespace

QtOptionsDialog::QtOptionsDialog(SandboxClient& client)
    : client_(client),
      stack_(new QStackedWidget),
      general_page_(new QWidget),
      notice_page_(new QWidget),
      display_name_(new QLineEdit),
      error_(new QLabel),
      notice_(new QLabel),
      apply_(nullptr),
      notice_ok_(new QPushButton(QStringLiteral("OK"))) {
  setWindowTitle(kOptionsTitle);
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
  apply_ = buttons->button(QDialogButtonBox::Ok);
  auto* general_layout = new QVBoxLayout(general_page_);
  general_layout->addWidget(pages);
  general_layout->addWidget(buttons);

  notice_->setObjectName(QStringLiteral("notice"));
  notice_->setWordWrap(true);
  auto* notice_layout = new QVBoxLayout(notice_page_);
  notice_layout->addWidget(notice_);
  notice_layout->addWidget(notice_ok_, 0, Qt::AlignRight);

  stack_->addWidget(general_page_);
  stack_->addWidget(notice_page_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stack_);
  display_name_->installEventFilter(this);
  resize(320, sizeHint().height());
  connect(buttons, &QDialogButtonBox::accepted, this, &QtOptionsDialog::Apply);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(notice_ok_, &QPushButton::clicked, this, &QDialog::accept);
  ShowPage(general_page_);
}

void QtOptionsDialog::Present() {
  if (!isVisible() || stack_->currentWidget() != general_page_) {
    display_name_->setText(QString::fromStdString(client_.display_name()));
    error_->clear();
    error_->hide();
  }
  ShowPage(general_page_);
  show();
  raise();
  activateWindow();
  display_name_->setFocus();
  display_name_->selectAll();
  select_name_ = true;
}

QString QtOptionsDialog::NoticeText() const {
  return stack_->currentWidget() == notice_page_ ? notice_->text() : QString();
}

void QtOptionsDialog::ShowPage(QWidget* page) {
  stack_->setCurrentWidget(page);
  const bool notice = page == notice_page_;
  setWindowTitle(notice ? kNoticeTitle : kOptionsTitle);
  // Enter in a line edit reaches the dialog, which presses its default button.
  apply_->setDefault(!notice);
  notice_ok_->setDefault(notice);
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
  notice_->setText(QStringLiteral("Your display name is now ") + name + QStringLiteral("."));
  ShowPage(notice_page_);
  notice_ok_->setFocus();
}

}  // namespace plumwick::sandbox
