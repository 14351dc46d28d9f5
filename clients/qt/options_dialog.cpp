// A client's options dialog and the notice it turns into.
#include "clients/qt/options_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/failure.h"

namespace plumwick::clients {

namespace {

const QString kOptionsTitle = QStringLiteral("Options");
const QString kNoticeTitle = QStringLiteral("Display name changed");

}  // namespace

OptionsDialog::OptionsDialog(Apply apply)
    : apply_(std::move(apply)),
      pages_(new QStackedWidget),
      options_page_(new QWidget),
      notice_page_(new QWidget),
      display_name_(new QLineEdit),
      error_(new QLabel),
      notice_(new QLabel),
      notice_ok_(new QPushButton(QStringLiteral("OK"))) {
  setWindowTitle(kOptionsTitle);
  display_name_->setObjectName(QStringLiteral("displayName"));
  error_->setObjectName(QStringLiteral("error"));
  error_->setWordWrap(true);
  error_->hide();
  notice_->setObjectName(QStringLiteral("notice"));
  notice_->setWordWrap(true);
  notice_ok_->setObjectName(QStringLiteral("noticeOk"));

  auto* general = new QWidget;
  auto* fields = new QFormLayout(general);
  fields->addRow(QStringLiteral("Display name:"), display_name_);
  fields->addRow(error_);
  auto* tabs = new QTabWidget;
  tabs->setObjectName(QStringLiteral("pages"));
  tabs->addTab(general, QStringLiteral("General"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  apply_button_ = buttons->button(QDialogButtonBox::Ok);
  auto* options_layout = new QVBoxLayout(options_page_);
  options_layout->setContentsMargins(0, 0, 0, 0);
  options_layout->addWidget(tabs);
  options_layout->addWidget(buttons);

  auto* notice_buttons = new QHBoxLayout;
  notice_buttons->addStretch();
  notice_buttons->addWidget(notice_ok_);
  auto* notice_layout = new QVBoxLayout(notice_page_);
  notice_layout->setContentsMargins(0, 0, 0, 0);
  notice_layout->addWidget(notice_, 1);
  notice_layout->addLayout(notice_buttons);

  pages_->addWidget(options_page_);
  pages_->addWidget(notice_page_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  display_name_->installEventFilter(this);
  resize(340, sizeHint().height());

  // Enter presses the default button of the page that shows: Apply in the name field, OK on the
  // notice.
  connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::OnApply);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(notice_ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void OptionsDialog::Present(const QString& display_name) {
  if (!isVisible() || pages_->currentWidget() != options_page_) {
    display_name_->setText(display_name);
    error_->clear();
    error_->hide();
  }
  setWindowTitle(kOptionsTitle);
  pages_->setCurrentWidget(options_page_);
  notice_ok_->setDefault(false);
  apply_button_->setDefault(true);
  show();
  raise();
  activateWindow();
  display_name_->setFocus();
  display_name_->selectAll();
  select_name_ = true;
}

bool OptionsDialog::Shows(std::uint64_t id) const {
  return isVisible() && static_cast<std::uint64_t>(internalWinId()) == id;
}

QString OptionsDialog::NoticeText() const {
  return pages_->currentWidget() == notice_page_ ? notice_->text() : QString();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
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

void OptionsDialog::keyPressEvent(QKeyEvent* event) {
  // An Enter no focused button took presses the main button of the page that shows, whichever
  // button Qt counts as the default: a Cancel button that got the focus while the dialog was
  // hidden keeps that role when it shows again.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    (pages_->currentWidget() == notice_page_ ? notice_ok_ : apply_button_)->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void OptionsDialog::OnApply() {
  const QString name = display_name_->text();
  try {
    apply_(name.toStdString());
  } catch (const Failure& failure) {
    // This runs from the dialog's own event handler: a failure must not cross Qt's event loop,
    // so it is shown here, with its code, and the dialog stays open.
    error_->setText(QStringLiteral("Error %1: %2")
                        .arg(failure.code())
                        .arg(QString::fromStdString(failure.description())));
    error_->show();
    display_name_->setFocus();
    return;
  }
  notice_->setText(QStringLiteral("Your display name is now ") + name + QStringLiteral("."));
  setWindowTitle(kNoticeTitle);
  apply_button_->setDefault(false);
  pages_->setCurrentWidget(notice_page_);
  notice_ok_->setDefault(true);
  notice_ok_->setFocus();
}

}  // namespace plumwick::clients
