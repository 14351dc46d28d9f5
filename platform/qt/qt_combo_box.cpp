// The status box on an editable QComboBox.
#include "platform/qt/qt_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

#include "platform/failure.h"

namespace plumwick {

QtComboBox::QtComboBox(QComboBox& box) : box_(box) {
  box_.setEditable(true);
  box_.setInsertPolicy(QComboBox::NoInsert);
  // The popup that holds the list reports a pick (a release on an entry, Return or Enter on the
  // current one) with this signal and nothing else with it. The combo box connected to it first,
  // so the picked entry is current and shown when Picked runs.
  QWidget* popup = box_.view()->parentWidget();
  if (popup == nullptr ||
      !QObject::connect(popup, SIGNAL(itemSelected(QModelIndex)), this, SLOT(Picked()))) {
    throw Failure(error_code::kControl, "The status box's list does not report its picks");
  }
  box_.view()->installEventFilter(this);
  // The closed box changes its entry on the wheel and on arrow keys, over the box or its edit
  // field, without a pick: those events stop here.
  box_.installEventFilter(this);
  box_.lineEdit()->installEventFilter(this);
}

void QtComboBox::Append(const std::string& entry) {
  // Adding the first entry makes it current, which would replace the design's text in the edit
  // field; the text stays until the user picks.
  const QString text = box_.currentText();
  box_.addItem(QString::fromStdString(entry));
  box_.setEditText(text);
}

void QtComboBox::Picked() {
  if (on_pick_) on_pick_();
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
  if (watched == &box_ || watched == box_.lineEdit()) {
    if (event->type() == QEvent::Wheel) return true;
    return event->type() == QEvent::KeyPress &&
           StepsThroughEntries(*static_cast<QKeyEvent*>(event));
  }
  if (watched == box_.view() && event->type() == QEvent::Show) before_pick_ = box_.currentText();
  return false;
}

}  // namespace plumwick
