// Runs a short helper command (xdotool, xprop, pactl, ImageMagick...) to the end and hands back
// what it printed.
#include "tests/e2e/harness/run_command.h"

#include <stdexcept>

namespace plumwick::e2e {

CommandResult RunCommand(const std::vector<std::string>& argv, const Environment& env,
                         Clock::duration timeout) {
  ChildProcess process({.argv = argv, .env = env});
  CommandResult result;
  result.timed_out = !process.WaitForExit(timeout);
  result.status = process.Stop();
  result.out = process.OutText();
  result.err = process.ErrText();
  return result;
}

std::string RunChecked(const std::vector<std::string>& argv, const Environment& env,
                       Clock::duration timeout) {
  CommandResult result = RunCommand(argv, env, timeout);
  if (result.Ok()) return result.out;
  std::string command;
  for (const auto& arg : argv) command += (command.empty() ? "" : " ") + arg;
  throw std::runtime_error("command failed (" + result.Describe() + "): " + command + "\n" +
                           result.err);
}

std::string CommandResult::Describe() const {
  return timed_out ? "no answer before the timeout" : status.Describe();
}

}  // namespace plumwick::e2e
