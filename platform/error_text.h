// The text a failure is shown with: its code, in decimal and hex, and its description.
#pragma once

#include <cstdio>
#include <string>

#include "platform/failure.h"

namespace plumwick {

inline std::string ErrorText(const Failure& failure) {
  char code[48];
  std::snprintf(code, sizeof code, "Error %d (0x%08X): ", static_cast<int>(failure.code()),
                static_cast<unsigned>(failure.code()));
  return code + failure.description();
}

}  // namespace plumwick
