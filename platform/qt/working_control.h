// Which control of a window the user is working in: the last one that had the keyboard focus and
// is not a button. A button with the focus that its own click disables would pass the focus on
// along the focus chain as Tab does: a line edit then selects all its text, so the next key wipes
// it, and the next button may be one that ends the program, which a Space would then press. Such
// a button hands the focus back here instead, without a reason that makes a line edit select all.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace plumwick {

class WorkingControl final : public QObject {
 public:
  explicit WorkingControl(const QWidget& window) : window_(window) {
    // The signal comes while the window is active, which is when a person clicks or types in it.
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (now != nullptr && now->window() == &window_ && !IsButton(*now)) last_ = now;
    });
  }

  // When `button` has its window's focus: moves it to the control the user worked in; when that
  // one cannot take it now, to the next control in the focus chain that is not a button; when
  // there is none, the window keeps no focus.
  void TakeFocusFrom(QWidget& button) const {
    if (button.window()->focusWidget() != &button) return;
    QWidget* to = last_;
    if (to == nullptr || !CanTakeFocus(*to)) to = NextNonButton(button);
    if (to != nullptr) {
      to->setFocus(Qt::OtherFocusReason);
    } else {
      button.clearFocus();
    }
  }

 private:
  static bool IsButton(const QWidget& widget) {
    return qobject_cast<const QAbstractButton*>(&widget) != nullptr;
  }
  static bool CanTakeFocus(const QWidget& widget) {
    return widget.isEnabled() && widget.isVisible() && (widget.focusPolicy() & Qt::TabFocus) != 0;
  }
  QWidget* NextNonButton(const QWidget& button) const {
    for (QWidget* next = button.nextInFocusChain(); next != &button;
         next = next->nextInFocusChain()) {
      if (next->window() == &window_ && !IsButton(*next) && CanTakeFocus(*next)) return next;
    }
    return nullptr;
  }

  const QWidget& window_;
  QPointer<QWidget> last_;
};

}  // namespace plumwick
