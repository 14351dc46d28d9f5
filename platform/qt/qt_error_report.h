// Shows a failure in a modal message box over the window, its text cut to fit on the screen.
#pragma once

#include <QWidget>

#include "platform/error_report.h"

namespace plumwick {

class QtErrorReport final : public ErrorReport {
 public:
  explicit QtErrorReport(QWidget* parent) : parent_(parent) {}
  void Show(const Failure& failure) override;

 private:
  QWidget* parent_;
};

}  // namespace plumwick
