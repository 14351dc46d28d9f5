// Time and date texts in the user's locale (LANG, LC_ALL, LC_TIME), as the C++ library formats
// them: "%X" for the time with seconds, "%x" for the short date. A locale that is named but not
// installed falls back to the classic one instead of failing.
#pragma once

#include <locale>

#include "platform/time_texts.h"

namespace plumwick {

class LocaleTimeTexts final : public TimeTexts {
 public:
  LocaleTimeTexts();
  std::string TimeText() override { return Format("%X"); }
  std::string DateText() override { return Format("%x"); }

 private:
  std::string Format(const char* format) const;
  std::locale locale_;
};

}  // namespace plumwick
