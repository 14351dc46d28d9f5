// Shows a failure in a modal message box over the window.
#include "platform/qt/qt_error_report.h"

#include <cstdio>

#include <QMessageBox>
#include <QStringList>

#include "platform/error_text.h"

namespace plumwick {
namespace {

// A box is as tall as its text wraps to, and a line breaks only between words: a failure that
// quotes a very long text (an address of 100,000 characters) would put the box's OK button far
// below the screen, or past its side. The box shows at most this much of a text, of a word and of
// its lines, each time the start and the end with "…" for the middle left out, so that the error
// code and what went wrong stay as they are; standard error has the whole text.
constexpr qsizetype kHeadCharacters = 320;
constexpr qsizetype kTailCharacters = 160;
constexpr qsizetype kWordHead = 40;
constexpr qsizetype kWordTail = 19;
constexpr qsizetype kHeadLines = 6;
constexpr qsizetype kTailLines = 3;
constexpr QChar kEllipsis{u'\u2026'};

// `text` with all but its first `head` and last `tail` characters left out.
QString ElideMiddle(const QString& text, qsizetype head, qsizetype tail) {
  if (text.size() <= head + tail + 1) return text;
  // Never between the two halves of a character outside the Basic Multilingual Plane.
  if (text[head].isLowSurrogate()) ++head;
  qsizetype from = text.size() - tail;
  if (text[from].isLowSurrogate()) ++from;
  return text.left(head) + kEllipsis + text.mid(from);
}

QString ElideLongWords(const QString& text) {
  QString shown;
  for (qsizetype from = 0; from < text.size();) {
    qsizetype to = from;
    while (to < text.size() && !text[to].isSpace()) ++to;
    shown += ElideMiddle(text.mid(from, to - from), kWordHead, kWordTail);
    for (from = to; from < text.size() && text[from].isSpace();) ++from;
    shown += text.mid(to, from - to);
  }
  return shown;
}

QString ShownText(const std::string& text) {
  QString shown =
      ElideMiddle(ElideLongWords(QString::fromStdString(text)), kHeadCharacters, kTailCharacters);
  const QStringList lines = shown.split(QLatin1Char('\n'));
  if (lines.size() <= kHeadLines + kTailLines + 1) return shown;
  return (lines.mid(0, kHeadLines) + QStringList{kEllipsis} + lines.mid(lines.size() - kTailLines))
      .join(QLatin1Char('\n'));
}

}  // namespace

void QtErrorReport::Show(const Failure& failure) {
  // Also on standard error, so a failure at start-up, before any window, leaves a trace.
  const std::string text = ErrorText(failure);
  std::fprintf(stderr, "%s\n", text.c_str());
  QMessageBox::critical(parent_ && parent_->isVisible() ? parent_ : nullptr,
                        parent_ ? parent_->windowTitle() : QString(), ShownText(text));
}

}  // namespace plumwick
