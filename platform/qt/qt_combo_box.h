// The status box on an editable QComboBox. Only a pick from its open list counts, by mouse or by
// keyboard, and every pick does; nothing the user types becomes an entry. QComboBox's "activated"
// cannot tell a pick apart: it also comes from Return in the edit field and from a typed name that
// matches an entry, and Qt takes a Return in the open list as a shortcut, before the key press an
// event filter would see. The list's own popup reports exactly its picks, after it has made the
// entry current; that report is the event here. The closed box would also show the next or
// previous entry on the mouse wheel and on arrow keys, a status that was never set: it ignores
// them, so only a pick changes what it shows. What the user types in the edit field (or pastes,
// or completes to an entry's name) lasts only until Return or until the focus leaves the box:
// then it shows again what a pick, or the design, showed last.
#pragma once

#include <QComboBox>
#include <QKeyEvent>
#include <QObject>

#include "platform/combo_box.h"

namespace plumwick {

class QtComboBox final : public QObject, public ComboBox {
  Q_OBJECT
 public:
  // Throws Failure when the box's list does not report its picks.
  explicit QtComboBox(QComboBox& box);
  void Append(const std::string& entry) override;
  std::string Text() const override { return box_.currentText().toStdString(); }
  void OnPick(std::function<void()> handler) override { on_pick_ = std::move(handler); }
  void UndoPick() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private Q_SLOTS:
  void Picked();

 private:
  // Whether the closed box would show another entry on this key.
  static bool StepsThroughEntries(const QKeyEvent& key);
  // Puts back in the edit field what the box showed before the user typed.
  void ShowAgain();

  QComboBox& box_;
  std::function<void()> on_pick_;
  QString shown_;        // what a pick, or the design, put in the edit field last
  QString before_pick_;  // what it showed before the last pick
};

}  // namespace plumwick
