// Key notation strings and what a receiver window must report for each: the same table is typed
// into a window of another process and into one of the test's own.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tests/x11/typed_entry.h"

namespace plumwick::x11_test {

struct TypingCase {
  std::string name;
  std::string keys;
  std::vector<TypedEntry> expected;  // one per Enter, in order
};

const std::vector<TypingCase>& TypingCases();

// A name gtest accepts as a test name.
std::string CaseName(const TypingCase& typing_case);

// How gtest shows a case in a failure message.
void PrintTo(const TypingCase& typing_case, std::ostream* out);

}  // namespace plumwick::x11_test
