// The entry of a sandbox conversation.
#include "clients/sandbox/qt/qt_message_entry.h"

#include <algorithm>
#include <utility>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace plumwick::sandbox {
namespace {

// Space between the frame and the text, as a line edit leaves it.
constexpr int kTextMargin = 2;

QStyleOptionFrame FrameOption(const QWidget& entry) {
  QStyleOptionFrame frame;
  frame.initFrom(&entry);
  frame.lineWidth = entry.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, &entry);
  frame.midLineWidth = 0;
  frame.state |= QStyle::State_Sunken;
  return frame;
}

// The text without control characters (a Tab, a newline pasted, what Ctrl with a letter types):
// the entry holds one line of what can be read.
QString Readable(const QString& text) {
  QString readable;
  readable.reserve(text.size());
  for (const QChar c : text) {
    if (c.category() != QChar::Other_Control) readable.append(c);
  }
  return readable;
}

// What a screen reader is told of the entry: an editable text, its value the line it holds.
class AccessibleEntry final : public QAccessibleWidget {
 public:
  explicit AccessibleEntry(QtMessageEntry& entry)
      : QAccessibleWidget(&entry, QAccessible::EditableText), entry_(entry) {}

  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Value ? entry_.text() : QAccessibleWidget::text(kind);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.selectableText = true;
    return state;
  }

 private:
  QtMessageEntry& entry_;
};

QAccessibleInterface* AccessibleEntryFor(const QString& /*class_name*/, QObject* object) {
  auto* entry = qobject_cast<QtMessageEntry*>(object);
  return entry == nullptr ? nullptr : new AccessibleEntry(*entry);
}

}  // namespace

QtMessageEntry::QtMessageEntry(std::function<void()> send) : send_(std::move(send)) {
  // Once for the process, before the first entry is asked about.
  [[maybe_unused]] static const bool installed = [] {
    QAccessible::installFactory(&AccessibleEntryFor);
    return true;
  }();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setCursor(Qt::IBeamCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void QtMessageEntry::SetText(const QString& text) {
  text_ = Readable(text);
  caret_ = text_.size();
  selected_ = false;
  update();
}

void QtMessageEntry::SelectAll() {
  selected_ = !text_.isEmpty();
  caret_ = text_.size();
  update();
}

QSize QtMessageEntry::sizeHint() const {
  const QFontMetrics metrics(font());
  const QStyleOptionFrame frame = FrameOption(*this);
  const QSize text(metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kTextMargin,
                   metrics.height() + 2 * kTextMargin);
  return style()->sizeFromContents(QStyle::CT_LineEdit, &frame, text, this);
}

QSize QtMessageEntry::minimumSizeHint() const {
  return {sizeHint().width() / 4, sizeHint().height()};
}

void QtMessageEntry::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (send_) send_();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) return SelectAll();
  if (event->matches(QKeySequence::Copy)) return Copy();
  if (event->matches(QKeySequence::Cut)) {
    Copy();
    if (selected_) Clear();
    return;
  }
  if (event->matches(QKeySequence::Paste)) return Insert(QGuiApplication::clipboard()->text());
  switch (event->key()) {
    case Qt::Key_Backspace:
      return selected_ ? Clear() : Remove(Before(caret_), caret_);
    case Qt::Key_Delete:
      return selected_ ? Clear() : Remove(caret_, After(caret_));
    case Qt::Key_Left:
      return MoveCaret(selected_ ? 0 : Before(caret_));
    case Qt::Key_Right:
      return MoveCaret(After(caret_));
    case Qt::Key_Home:
      return MoveCaret(0);
    case Qt::Key_End:
      return MoveCaret(text_.size());
    default:
      break;
  }
  const QString typed = Readable(event->text());
  if (typed.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0) {
    event->ignore();  // Escape and the like are the window's
    return;
  }
  Insert(typed);
}

void QtMessageEntry::inputMethodEvent(QInputMethodEvent* event) {
  // Only what the input method commits: a text it is still composing is not part of the line.
  if (!event->commitString().isEmpty()) Insert(event->commitString());
  event->accept();
}

void QtMessageEntry::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QStyleOptionFrame frame = FrameOption(*this);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

  // Only the characters around the caret that can fit are measured and drawn: no character is
  // narrower than two pixels, bar those that take no room at all.
  const QRect area = TextArea();
  const qsizetype reach = area.width() / 2 + 8;
  qsizetype from = std::max<qsizetype>(0, caret_ - reach);
  if (from > 0 && text_[from].isLowSurrogate()) ++from;
  qsizetype to = std::min(text_.size(), caret_ + reach);
  if (to < text_.size() && text_[to].isLowSurrogate()) ++to;
  const QString shown = text_.sliced(from, to - from);
  const QFontMetricsF metrics(font());
  const qreal caret_x = metrics.horizontalAdvance(text_.sliced(from, caret_ - from));
  // From the text's start while it fits up to the caret; beyond that the caret stays at the
  // right edge and the text before it goes out on the left.
  const qreal x =
      area.left() + (from == 0 && caret_x < area.width() ? 0 : area.width() - 1 - caret_x);
  const qreal baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();

  painter.setClipRect(area);
  const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
  painter.setPen(palette().color(group, QPalette::Text));
  if (selected_) {
    painter.fillRect(QRectF(x, area.top(), metrics.horizontalAdvance(shown), area.height()),
                     palette().color(group, QPalette::Highlight));
    painter.setPen(palette().color(group, QPalette::HighlightedText));
  }
  painter.drawText(QPointF(x, baseline), shown);
  if (hasFocus()) {
    painter.setPen(palette().color(group, QPalette::Text));
    painter.drawLine(QPointF(x + caret_x, area.top() + 1), QPointF(x + caret_x, area.bottom() - 1));
  }
}

void QtMessageEntry::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void QtMessageEntry::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void QtMessageEntry::Insert(const QString& typed) {
  const QString readable = Readable(typed);
  if (readable.isEmpty()) return;
  if (selected_) {
    text_.clear();
    caret_ = 0;
    selected_ = false;
  }
  // At the end, where keys go, appending takes constant time (amortised).
  if (caret_ == text_.size()) {
    text_.append(readable);
  } else {
    text_.insert(caret_, readable);
  }
  caret_ += readable.size();
  update();
}

void QtMessageEntry::Remove(qsizetype from, qsizetype to) {
  text_.remove(from, to - from);
  caret_ = from;
  update();
}

qsizetype QtMessageEntry::Before(qsizetype at) const {
  if (at == 0) return 0;
  const bool pair = at >= 2 && text_[at - 1].isLowSurrogate() && text_[at - 2].isHighSurrogate();
  return at - (pair ? 2 : 1);
}

qsizetype QtMessageEntry::After(qsizetype at) const {
  if (at == text_.size()) return at;
  const bool pair =
      at + 1 < text_.size() && text_[at].isHighSurrogate() && text_[at + 1].isLowSurrogate();
  return at + (pair ? 2 : 1);
}

void QtMessageEntry::MoveCaret(qsizetype to) {
  caret_ = to;
  selected_ = false;
  update();
}

void QtMessageEntry::Copy() const {
  if (selected_) QGuiApplication::clipboard()->setText(text_);
}

QRect QtMessageEntry::TextArea() const {
  const QStyleOptionFrame frame = FrameOption(*this);
  return style()
      ->subElementRect(QStyle::SE_LineEditContents, &frame, this)
      .adjusted(kTextMargin, 0, -kTextMargin, 0);
}

}  // namespace plumwick::sandbox
