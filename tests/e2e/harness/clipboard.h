// The session's CLIPBOARD selection (or another, such as "primary"), read and owned through xclip.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"

namespace plumwick::e2e {

// The clipboard's text as UTF-8, or its content of the type `target` ("image/png"); nullopt when
// no window owns the clipboard or it offers no such type.
std::optional<std::string> ReadClipboard(const DesktopSession& session,
                                         const char* selection = "clipboard",
                                         const char* target = nullptr);

// Puts `text` on the clipboard and serves it until destroyed or until another window takes the
// clipboard, as a program that copied it would; as the one type `target` when given.
class ClipboardOwner {
 public:
  ClipboardOwner(const DesktopSession& session, const std::string& text,
                 const char* selection = "clipboard", const char* target = nullptr);

 private:
  std::unique_ptr<ChildProcess> xclip_;
};

}  // namespace plumwick::e2e
