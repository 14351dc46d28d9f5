// The session's CLIPBOARD selection (or another), read and owned through xclip.
#include "tests/e2e/harness/clipboard.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

std::optional<std::string> ReadClipboard(const DesktopSession& session, const char* selection,
                                         const char* target) {
  std::vector<std::string> command{"xclip", "-selection", selection, "-out"};
  if (target != nullptr) command.insert(command.end(), {"-target", target});
  const auto read = RunCommand(command, session.Env());
  if (!read.Ok()) return std::nullopt;
  return read.out;
}

ClipboardOwner::ClipboardOwner(const DesktopSession& session, const std::string& text,
                               const char* selection, const char* target) {
  static std::atomic<int> counter{0};
  const auto file = session.ScratchDir() / ("clipboard-" + std::to_string(++counter) + ".txt");
  std::ofstream(file, std::ios::binary) << text;
  // -quiet keeps xclip in the foreground, as our child, instead of detaching from us.
  std::vector<std::string> command{"xclip", "-selection", selection, "-quiet"};
  if (target != nullptr) command.insert(command.end(), {"-target", target});
  command.insert(command.end(), {"-in", file.string()});
  xclip_ = session.Start(command);
  if (!WaitUntil(
          [&] { return ReadClipboard(session, selection, target) == text || !xclip_->Running(); },
          std::chrono::seconds(5)) ||
      !xclip_->Running()) {
    throw std::runtime_error("xclip did not take the clipboard\n" + xclip_->Describe());
  }
}

}  // namespace plumwick::e2e
