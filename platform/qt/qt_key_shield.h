// The shield of the program's own windows on Qt: while raised, a key event whose receiver lies in
// the main window or in a window over it (the status box's list) is swallowed before any widget
// sees it, and each press counted. The desktop's close (Alt+F4) still passes, and so do the keys
// of a message box, which only close it: one shown during a job is the person's to dismiss.
#pragma once

#include <QObject>
#include <QWidget>

#include "platform/key_shield.h"

namespace plumwick {

class QtKeyShield final : public QObject, public KeyShield {
  Q_OBJECT
 public:
  explicit QtKeyShield(QWidget& window) : window_(window) {}
  ~QtKeyShield() override;

  void Raise(bool raised) override;
  std::size_t Swallowed() const override { return swallowed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  bool raised_ = false;
  std::size_t swallowed_ = 0;
};

}  // namespace plumwick
