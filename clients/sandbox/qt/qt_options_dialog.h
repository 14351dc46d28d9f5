// The sandbox client's options dialog. Its one page, General, holds the display name. Enter applies
// the name and turns the same window into a notice ("Display name changed") whose OK button has
// the focus, so the next Enter closes it; an empty name is refused in the dialog with the reason,
// and nothing changes until Enter. The notice stays in this window, not a new one: keys typed
// right after the first Enter were sent to this window before it could apply anything, so a
// second Enter must still find its notice here.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include "clients/sandbox/sandbox_client.h"

namespace plumwick::sandbox {

class QtOptionsDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit QtOptionsDialog(SandboxClient& client);

  // Shows the dialog on its General page (filled with the current display name unless it is
  // already open there), brings it to the front and focuses the display name with all of it
  // selected, so typing replaces it.
  void Present();

  QLineEdit& display_name() { return *display_name_; }
  // Why the last Enter applied nothing; empty after a fresh Present.
  QString ErrorText() const { return error_->text(); }
  // The notice after a change, while the dialog shows it; empty otherwise.
  QString NoticeText() const;
  QPushButton& notice_ok() { return *notice_ok_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply();
  void ShowPage(QWidget* page);

  SandboxClient& client_;
  QStackedWidget* stack_;
  QWidget* general_page_;
  QWidget* notice_page_;
  QLineEdit* display_name_;
  QLabel* error_;
  QLabel* notice_;
  QPushButton* apply_;
  QPushButton* notice_ok_;
  // Set by Present until the next key or click in the name: the name is selected again when it
  // gets the focus, since the line edit drops its selection when its window loses the focus.
  bool select_name_ = false;
};

}  // namespace plumwick::sandbox
