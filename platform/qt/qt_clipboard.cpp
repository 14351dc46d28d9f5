// The clipboard through QClipboard.
#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/failure.h"

namespace plumwick {

void QtClipboard::SetText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QString value = QString::fromStdString(text);
  if (clipboard == nullptr) throw Failure(error_code::kClipboard, "There is no clipboard");
  clipboard->setText(value, QClipboard::Clipboard);
  // Qt reports nothing when the desktop refuses the selection; reading it back tells.
  if (clipboard->text(QClipboard::Clipboard) != value) {
    throw Failure(error_code::kClipboard, "The text could not be put on the clipboard");
  }
}

}  // namespace plumwick
