// Runs a short helper command (xdotool, xprop, pactl, ImageMagick...) to the end and hands back
// what it printed.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

struct CommandResult {
  ExitStatus status;
  bool timed_out = false;  // then `status` is how it ended when it was stopped
  std::string out;
  std::string err;

  bool Ok() const { return !timed_out && status.ExitedWith(0); }
  std::string Describe() const;
};

// Never hangs: a command still running at the timeout is killed and reported as such.
CommandResult RunCommand(const std::vector<std::string>& argv, const Environment& env,
                         Clock::duration timeout = std::chrono::seconds(10));

// As RunCommand, but a failure (or timeout) throws std::runtime_error naming the command and
// quoting its standard error.
std::string RunChecked(const std::vector<std::string>& argv, const Environment& env,
                       Clock::duration timeout = std::chrono::seconds(10));

}  // namespace plumwick::e2e
