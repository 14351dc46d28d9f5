// The status box on an editable QComboBox.
#include "platform/qt/qt_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

namespace plumwick {

QtComboBox::QtComboBox(QComboBox& box) : box_(box) {
  box_.setEditable(true);
  box_.setInsertPolicy(QComboBox::NoInsert);
  // Installed after the combo box's own popup filter, so it runs first and marks the pick before
  // the popup turns it into "activated".
  box_.view()->installEventFilter(this);
  box_.view()->viewport()->installEventFilter(this);
  // The closed box changes its entry on the wheel and on arrow keys, over the box or its edit
  // field, without a pick: those events stop here.
  box_.installEventFilter(this);
  box_.lineEdit()->installEventFilter(this);
  QObject::connect(&box_, &QComboBox::activated, this, [this] {
    const bool picked = std::exchange(picking_, false);
    if (picked && on_pick_) on_pick_();
  });
}

void QtComboBox::Append(const std::string& entry) {
  // Adding the first entry makes it current, which would replace the design's text in the edit
  // field; the text stays until the user picks.
  const QString text = box_.currentText();
  box_.addItem(QString::fromStdString(entry));
  box_.setEditText(text);
}

bool QtComboBox::StepsThroughEntries(const QKeyEvent& key) {
  // Home and End are not among them: in the edit field they move the caret.
  switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    case Qt::Key_Down:
      // Alt+Down opens the list, where a pick can be made.
      return (key.modifiers() & Qt::AltModifier) == 0;
    default:
      return false;
  }
}

bool QtComboBox::eventFilter(QObject* watched, QEvent* event) {
  const QAbstractItemView* view = box_.view();
  if (watched == &box_ || watched == box_.lineEdit()) {
    if (event->type() == QEvent::Wheel) return true;
    return event->type() == QEvent::KeyPress &&
           StepsThroughEntries(*static_cast<QKeyEvent*>(event));
  }
  switch (event->type()) {
    case QEvent::Show:
      if (watched == view) {
        picking_ = false;
        before_pick_ = box_.currentText();
      }
      break;
    case QEvent::MouseButtonRelease:
      if (watched == view->viewport())
        picking_ = view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).isValid();
      break;
    case QEvent::KeyPress:
      if (watched == view) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
          picking_ = view->currentIndex().isValid();
      }
      break;
    default:
      break;
  }
  return false;
}

}  // namespace plumwick
