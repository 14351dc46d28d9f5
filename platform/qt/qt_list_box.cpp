// The list box on a QListWidget.
#include "platform/qt/qt_list_box.h"

#include <QEvent>

namespace plumwick {

QtListBox::QtListBox(QListWidget& list) : list_(list) {
  list_.setSelectionMode(QAbstractItemView::SingleSelection);
  list_.setSortingEnabled(false);
  list_.viewport()->installEventFilter(this);
}

void QtListBox::Append(const std::string& entry) {
  list_.addItem(QString::fromStdString(entry));
}

std::string QtListBox::CurrentText() const {
  const QList<QListWidgetItem*> selected = list_.selectedItems();
  return selected.isEmpty() ? std::string() : selected.front()->text().toStdString();
}

bool QtListBox::eventFilter(QObject* watched, QEvent* event) {
  // QListWidget's own signal fires only over an entry; the list's event is any double-click in it.
  // The list selects the entry under the pointer on the press before this arrives.
  if (watched == list_.viewport() && event->type() == QEvent::MouseButtonDblClick &&
      on_double_click_) {
    on_double_click_();
  }
  return false;
}

}  // namespace plumwick
