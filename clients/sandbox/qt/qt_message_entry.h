// The entry of a sandbox conversation: one line of text, whose typed keys take constant time
// however long it grows. A line edit lays its whole text out anew on every key, so a long message
// typed into it took ever longer per key (20,000 characters half a minute, the window not
// answering meanwhile); here a key at the end appends to the text, and painting measures only the
// part around the caret that fits. Enter sends (the callback); Backspace and Delete take one
// whole character; Ctrl+A selects everything, which the next character replaces and Backspace or
// Delete clears; the arrows, Home and End move the caret; Ctrl+C, Ctrl+X and Ctrl+V copy, cut and
// paste the text.
#pragma once

#include <functional>

#include <QString>
#include <QWidget>

namespace plumwick::sandbox {

class QtMessageEntry final : public QWidget {
  Q_OBJECT
 public:
  // `send` runs on each Enter, with the text as it is.
  explicit QtMessageEntry(std::function<void()> send);

  const QString& text() const { return text_; }
  // Replaces the text; the caret goes to its end.
  void SetText(const QString& text);
  void Clear() { SetText({}); }
  void SelectAll();
  // Whether everything is selected (Ctrl+A): the next character typed replaces it.
  bool AllSelected() const { return selected_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Puts the text in at the caret, in place of the selection; control characters are left out.
  void Insert(const QString& typed);
  // Removes the characters from `from` to `to`, a range with the caret at one end.
  void Remove(qsizetype from, qsizetype to);
  // Where the character before or after a position starts: a pair of surrogates is one character.
  qsizetype Before(qsizetype at) const;
  qsizetype After(qsizetype at) const;
  void MoveCaret(qsizetype to);
  void Copy() const;
  QRect TextArea() const;

  std::function<void()> send_;
  QString text_;
  qsizetype caret_ = 0;  // in UTF-16 units, never between two surrogates
  bool selected_ = false;
};

}  // namespace plumwick::sandbox
