// The shield of the program's own windows on Qt: a key event stamped within a span in which a job's
// keys went out, whose receiver lies in the main window or in a window over it (the status box's
// list), is swallowed before any widget sees it, and each press counted. The person's keys, stamped
// outside those spans, pass; so do the desktop's close (Alt+F4) and the keys of a message box,
// which only close it.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>

#include <QObject>
#include <QWidget>

#include "platform/key_shield.h"

namespace plumwick {

class QtKeyShield final : public QObject, public KeyShield {
  Q_OBJECT
 public:
  // Watches every key event of the application for as long as it lives.
  explicit QtKeyShield(QWidget& window);
  ~QtKeyShield() override;

  void Cover(std::uint32_t from, std::uint32_t to) override;
  std::size_t Swallowed() const override { return swallowed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Covered(std::uint32_t stamp) const;

  QWidget& window_;
  std::deque<std::pair<std::uint32_t, std::uint32_t>> spans_;  // the latest ones
  std::size_t swallowed_ = 0;
};

}  // namespace plumwick
