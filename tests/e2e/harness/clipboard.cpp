// The session's CLIPBOARD selection (or another), read and owned through xclip.
#include "tests/e2e/harness/clipboard.h"

#include <atomic>
#include <fstream>
#include <stdexcept>

#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

std::optional<std::string> ReadClipboard(const DesktopSession& session, const char* selection) {
  const auto read = RunCommand({"xclip", "-selection", selection, "-out"}, session.Env());
  if (!read.Ok()) return std::nullopt;
  return read.out;
}

ClipboardOwner::ClipboardOwner(const DesktopSession& session, const std::string& text,
                               const char* selection) {
  static std::atomic<int> counter{0};
  const auto file = session.ScratchDir() / ("clipboard-" + std::to_string(++counter) + ".txt");
  std::ofstream(file, std::ios::binary) << text;
  // -quiet keeps xclip in the foreground, as our child, instead of detaching from us.
  xclip_ = session.Start({"xclip", "-selection", selection, "-quiet", "-in", file.string()});
  if (!WaitUntil([&] { return ReadClipboard(session, selection) == text || !xclip_->Running(); },
                 std::chrono::seconds(5)) ||
      !xclip_->Running()) {
    throw std::runtime_error("xclip did not take the clipboard\n" + xclip_->Describe());
  }
}

}  // namespace plumwick::e2e
