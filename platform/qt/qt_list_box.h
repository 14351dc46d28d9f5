// The list box on a QListWidget. A double-click anywhere in the list is the event, also where no
// entry lies; the current entry is the selected one. As in a classic list, a press on the empty
// part of the list keeps the current entry, where QListWidget would drop its selection, so that a
// double-click there opens the entry the user chose.
#pragma once

#include <QListWidget>
#include <QObject>

#include "platform/list_box.h"

namespace plumwick {

class QtListBox final : public QObject, public ListBox {
  Q_OBJECT
 public:
  explicit QtListBox(QListWidget& list);
  void Append(const std::string& entry) override;
  void Clear() override { list_.clear(); }
  std::string CurrentText() const override;
  void OnDoubleClick(std::function<void()> handler) override {
    on_double_click_ = std::move(handler);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget& list_;
  std::function<void()> on_double_click_;
};

}  // namespace plumwick
