// Pidgin's add-buddy dialog, opened and readied for Enter.
#include "clients/purple/qt/add_buddy_dialog.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// How long one activation request is given before the window manager is asked again.
constexpr std::chrono::milliseconds kActivateWait{400};

}  // namespace

std::uint64_t OpenAddBuddyDialog(PurpleBus& bus, const Desktop& desktop, Handle account,
                                 const std::string& address) {
  const std::int64_t pidgin = bus.ServiceProcess();
  const std::vector<std::uint64_t> before = desktop.windows.WindowsOf(pidgin);
  bus.Call("PurpleBlistRequestAddBuddy",
           {Int(account), Str(QString::fromStdString(address)), Str(QString()), Str(QString())},
           error_code::kNotSignedIn);

  // Pidgin builds the dialog before it answers; the window manager lists it a moment later, and is
  // done taking it on a moment after that. Activated in between, it may lose the focus again (marco
  // hands it back to the window that had it, after keys went to the dialog).
  const Clock::TimePoint deadline = desktop.wait.Now() + messenger::kFocusWait;
  std::optional<std::uint64_t> dialog;
  const bool shown = desktop.wait.Until(messenger::kFocusWait, [&] {
    for (const std::uint64_t window : desktop.windows.WindowsOf(pidgin)) {
      if (std::find(before.begin(), before.end(), window) == before.end()) dialog = window;
    }
    return dialog && desktop.windows.TakenOn(*dialog);
  });
  if (!shown) {
    throw Failure(error_code::kClientError,
                  "Pidgin did not show its add-contact dialog for \"" + address + "\"");
  }
  bool focused = false;
  while (!focused && desktop.wait.Now() < deadline) {
    desktop.windows.Activate(*dialog);
    // The window manager's word and the X server's: the Up must reach the dialog.
    focused = desktop.wait.Until(kActivateWait, [&] {
      return desktop.focus.Focused().id == *dialog && desktop.windows.HasInputFocus(*dialog);
    });
  }
  if (!focused) {
    throw Failure(error_code::kFocus,
                  "Pidgin's add-contact dialog for \"" + address +
                      "\" did not take the keyboard focus within 3 seconds, so it was left as "
                      "Pidgin opened it: press its Add button there to add the contact");
  }
  desktop.keys.Type("{UP}");
  return *dialog;
}

}  // namespace plumwick::purple
