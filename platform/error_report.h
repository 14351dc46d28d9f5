// Shows a failure to the user (its code and description) and returns once they have seen it.
#pragma once

#include "platform/failure.h"

namespace plumwick {

class ErrorReport {
 public:
  virtual ~ErrorReport() = default;
  virtual void Show(const Failure& failure) = 0;
};

}  // namespace plumwick
