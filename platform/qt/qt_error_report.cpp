// Shows a failure in a modal message box over the window.
#include "platform/qt/qt_error_report.h"

#include <cstdio>

#include <QMessageBox>

#include "platform/error_text.h"

namespace plumwick {

void QtErrorReport::Show(const Failure& failure) {
  // Also on standard error, so a failure at start-up, before any window, leaves a trace.
  const std::string text = ErrorText(failure);
  std::fprintf(stderr, "%s\n", text.c_str());
  QMessageBox::critical(parent_ && parent_->isVisible() ? parent_ : nullptr,
                        parent_ ? parent_->windowTitle() : QString(), QString::fromStdString(text));
}

}  // namespace plumwick
