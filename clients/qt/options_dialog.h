// The options dialog a client shows for the display name (the sandbox's; Pidgin offers none over
// D-Bus, so that client shows this one too). Its one page, General, holds the display name,
// focused and selected so that typing replaces it. Enter applies the name and turns the dialog
// into a notice that says so, whose OK button has the focus: the next Enter dismisses it. The
// notice is the same window, so that Enter reaches it even when it was typed before the first one
// was handled. A name the client does not take leaves the dialog open with the reason.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace plumwick::clients {

class OptionsDialog final : public QDialog {
  Q_OBJECT
 public:
  // `apply` sets the display name and throws plumwick::Failure when it cannot.
  using Apply = std::function<void(const std::string& display_name)>;
  explicit OptionsDialog(Apply apply);

  // Shows the options page filled with the name (unless it shows already), brings the dialog to
  // the front and selects the whole name.
  void Present(const QString& display_name);
  // Whether the dialog is shown as the desktop window `id`.
  bool Shows(std::uint64_t id) const;

  QLineEdit& display_name() { return *display_name_; }
  QString ErrorText() const { return error_->text(); }
  // The notice's text while the dialog shows it; empty on the options page.
  QString NoticeText() const;
  QPushButton& notice_ok() { return *notice_ok_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnApply();

  Apply apply_;
  QStackedWidget* pages_;
  QWidget* options_page_;
  QWidget* notice_page_;
  QLineEdit* display_name_;
  QLabel* error_;
  QPushButton* apply_button_;
  QLabel* notice_;
  QPushButton* notice_ok_;
  // Set by Present until the next key or click in the name: the line edit drops its selection
  // when its window loses the focus, and the name must still be selected when the focus is back.
  bool select_name_ = false;
};

}  // namespace plumwick::clients
