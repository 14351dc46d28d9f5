// The shield of the program's own windows on Qt.
#include "platform/qt/qt_key_shield.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

#include <algorithm>

namespace plumwick {
namespace {

// A job's keys reach a window within moments; older spans are dropped.
constexpr std::size_t kSpansKept = 64;

}  // namespace

QtKeyShield::QtKeyShield(QWidget& window) : window_(window) {
  qApp->installEventFilter(this);
}

QtKeyShield::~QtKeyShield() {
  qApp->removeEventFilter(this);
}

void QtKeyShield::Cover(std::uint32_t from, std::uint32_t to) {
  spans_.emplace_back(from, to);
  if (spans_.size() > kSpansKept) spans_.pop_front();
}

bool QtKeyShield::Covered(std::uint32_t stamp) const {
  // Differences, so that a span across the stamps' wrap still holds its stamps.
  return std::any_of(spans_.begin(), spans_.end(), [stamp](const auto& span) {
    return static_cast<std::uint32_t>(stamp - span.first) <=
           static_cast<std::uint32_t>(span.second - span.first);
  });
}

bool QtKeyShield::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
      type != QEvent::ShortcutOverride) {
    return false;
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_F4 && (key->modifiers() & Qt::AltModifier) != 0) return false;
  if (!Covered(static_cast<std::uint32_t>(key->timestamp()))) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  // A message box shown during the job is the person's to close: its Return only closes it.
  if (qobject_cast<const QDialog*>(widget->window()) != nullptr) return false;
  // The messaging client's windows may live in this process too (the sandbox client's): only
  // the main window and the windows over it are the program's own.
  for (const QWidget* up = widget->window(); up != nullptr; up = up->parentWidget()) {
    if (up != &window_) continue;
    // Swallowed at the first widget it is sent to (the focus widget), it goes no further.
    if (type == QEvent::KeyPress) ++swallowed_;
    return true;
  }
  return false;
}

}  // namespace plumwick
