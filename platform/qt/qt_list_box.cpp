// The list box on a QListWidget.
#include "platform/qt/qt_list_box.h"

#include <QMouseEvent>

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
  if (watched != list_.viewport()) return false;
  const bool press = event->type() == QEvent::MouseButtonPress;
  const bool double_click = event->type() == QEvent::MouseButtonDblClick;
  if (!press && !double_click) return false;
  // QListWidget's own signal fires only over an entry; the list's event is any double-click in it.
  // Over an entry the list has selected it on the press before this arrives.
  if (double_click && on_double_click_) on_double_click_();
  // A press where no entry lies (the second one of a double-click too) would clear the selection:
  // the list keeps it. The list still takes the focus, which comes before the press.
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  return !list_.indexAt(at).isValid();
}

}  // namespace plumwick
