// The current local time and date as texts in the user's locale formats.
#pragma once

#include <string>

namespace plumwick {

class TimeTexts {
 public:
  virtual ~TimeTexts() = default;
  // Hours, minutes and seconds.
  virtual std::string TimeText() = 0;
  // The short date.
  virtual std::string DateText() = 0;
};

}  // namespace plumwick
