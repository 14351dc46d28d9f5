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
  // The edit field would complete a typed letter to an entry's name: a status that was not set.
  box_.setCompleter(nullptr);
  shown_ = box_.currentText();
  // The popup that holds the list reports a pick (a release on an entry, Return or Enter on the
  // current one) with this signal and nothing else with it. The combo box connected to it first,
  // so the picked entry is current and shown when Picked runs.
  QWidget* popup = box_.view()->parentWidget();
  if (popup == nullptr ||
      !QObject::connect(popup, SIGNAL(itemSelected(QModelIndex)), this, SLOT(Picked()))) {
    throw Failure(error_code::kControl, "The status box's list does not report its picks");
  }
  // The closed box changes its entry on the wheel and on arrow keys, over the box or its edit
  // field, without a pick: those events stop here. Return and the focus leaving end what the user
  // typed: they are watched here too.
  box_.installEventFilter(this);
  box_.lineEdit()->installEventFilter(this);
}

void QtComboBox::Append(const std::string& entry) {
  // Adding the first entry makes it current, which would replace the design's text in the edit
  // field; the text stays until the user picks.
  shown_ = box_.currentText();
  box_.addItem(QString::fromStdString(entry));
  box_.setEditText(shown_);
}

void QtComboBox::UndoPick() {
  shown_ = before_pick_;
  box_.setEditText(shown_);
}

void QtComboBox::Picked() {
  before_pick_ = shown_;
  shown_ = box_.currentText();
  if (on_pick_) on_pick_();
}

void QtComboBox::ShowAgain() {
  if (box_.lineEdit()->text() != shown_) box_.setEditText(shown_);
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
  if (watched != &box_ && watched != box_.lineEdit()) return false;
  switch (event->type()) {
    case QEvent::Wheel:
      return true;
    case QEvent::FocusOut:
      // Also as the list opens: Escape closes it on what the box showed.
      ShowAgain();
      return false;
    case QEvent::KeyPress: {
      const auto& key = *static_cast<QKeyEvent*>(event);
      // Before the box handles Return: on a typed entry's name it would make that entry current.
      if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) ShowAgain();
      return StepsThroughEntries(key);
    }
    default:
      return false;
  }
}

}  // namespace plumwick
