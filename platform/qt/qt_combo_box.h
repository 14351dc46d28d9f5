// The status box on an editable QComboBox. QComboBox reports "activated" on a pick from its list,
// but also on Return in its edit field and on arrow keys; only a pick from the list counts here,
// and nothing the user types becomes an entry. The closed box would also show the next or
// previous entry on the mouse wheel and on arrow keys, a status that was never set: it ignores
// them, so only a pick changes what it shows.
#pragma once

#include <QComboBox>
#include <QKeyEvent>
#include <QObject>

#include "platform/combo_box.h"

namespace plumwick {

class QtComboBox final : public QObject, public ComboBox {
  Q_OBJECT
 public:
  explicit QtComboBox(QComboBox& box);
  void Append(const std::string& entry) override;
  std::string Text() const override { return box_.currentText().toStdString(); }
  void OnPick(std::function<void()> handler) override { on_pick_ = std::move(handler); }
  void UndoPick() override { box_.setEditText(before_pick_); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether the closed box would show another entry on this key.
  static bool StepsThroughEntries(const QKeyEvent& key);

  QComboBox& box_;
  std::function<void()> on_pick_;
  bool picking_ = false;  // set by a release or Return inside the open list, spent by "activated"
  QString before_pick_;   // the edit field's text when the list last opened
};

}  // namespace plumwick
