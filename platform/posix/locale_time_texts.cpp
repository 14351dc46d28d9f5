// Time and date texts in the user's locale.
#include "platform/posix/locale_time_texts.h"

#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "platform/failure.h"

namespace plumwick {

namespace {

std::locale UserLocale() {
  try {
    return std::locale("");
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

}  // namespace

LocaleTimeTexts::LocaleTimeTexts() : locale_(UserLocale()) {}

std::string LocaleTimeTexts::Format(const char* format) const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    throw Failure(error_code::kLocalTime, "The local time could not be read");
  }
  std::ostringstream text;
  text.imbue(locale_);
  text << std::put_time(&local, format);
  return text.str();
}

}  // namespace plumwick
