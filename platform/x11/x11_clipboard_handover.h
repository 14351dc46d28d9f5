// Handing the clipboard's text to the desktop's clipboard manager before the program ends at once.
// A normal exit of a toolkit does this on its way out; ending at once skips it, and the text the
// user copied would be gone with the process that served it. Uses the freedesktop protocol: the
// owner asks the CLIPBOARD_MANAGER selection for SAVE_TARGETS, serves the manager's requests for
// the clipboard and waits for its answer. No Qt or X header here: Qt code includes this one.
#pragma once

#include <chrono>
#include <string>

namespace plumwick {

// Takes the clipboard with `text` on a connection of its own, hands it to the clipboard manager
// and returns once the manager has saved it, has refused, or `limit` has passed. Returns whether
// the manager saved it; false at once when there is no X display or no clipboard manager. Never
// throws: it runs while the program ends.
bool HandClipboardToManager(const std::string& text, std::chrono::milliseconds limit) noexcept;

}  // namespace plumwick
