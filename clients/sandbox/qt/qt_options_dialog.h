// The sandbox client's options dialog. Its one page, General, holds the display name. Enter applies
// the name, closes the dialog and shows a notice; an empty name is refused in the dialog with the
// reason, and nothing changes until Enter.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include "clients/sandbox/qt/qt_notice.h"
#include "clients/sandbox/sandbox_client.h"

namespace plumwick::sandbox {

class QtOptionsDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit QtOptionsDialog(SandboxClient& client);

  // Shows the dialog (filled with the current display name unless it is already open), brings it
  // to the front and focuses the display name with all of it selected, so typing replaces it. A
  // notice still up from an earlier change goes away.
  void Present();

  QLineEdit& display_name() { return *display_name_; }
  // Why the last Enter applied nothing; empty after a fresh Present.
  QString ErrorText() const { return error_->text(); }
  QtNotice& notice() { return notice_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply();

  SandboxClient& client_;
  QLineEdit* display_name_;
  QLabel* error_;
  // Set by Present until the next key or click in the name: the name is selected again when it
  // gets the focus, since the line edit drops its selection when its window loses the focus.
  bool select_name_ = false;
  // A window of its own, not a child: it stays up after the dialog has closed.
  QtNotice notice_;
};

}  // namespace plumwick::sandbox
