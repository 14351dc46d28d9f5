// Gajim's windows on this X display.
#include "clients/gajim/qt/gajim_windows.h"

#include <algorithm>
#include <vector>

#include "messenger/client_typing.h"
#include "platform/failure.h"

namespace plumwick::gajim {

void RequireKeysReachGajim(GajimBus& bus, const ClientDesktop& desktop) {
  if (desktop.windows.OnDisplay(bus.ServiceProcess())) return;
  throw Failure(
      error_code::kFocus,
      "Gajim shows no window on this X display (in a Wayland session it runs as a Wayland "
      "program), so no key from this program could reach it and nothing was opened. Quit "
      "Gajim and start it through XWayland: GDK_BACKEND=x11 gajim");
}

std::uint64_t OpenGajimWindow(GajimBus& bus, const ClientDesktop& desktop, std::int64_t gajim,
                              const QString& action, const QVariantList& parameter) {
  const std::vector<std::uint64_t> before = desktop.windows.WindowsOf(gajim);
  bus.Activate(kApplicationObject, QStringLiteral("show"));
  bus.Activate(kApplicationObject, action, parameter);
  // The window manager lists the window a moment after Gajim made it, and takes it on a moment
  // after that; activated in between, it may lose the focus again.
  std::uint64_t opened = 0;
  const bool shown = desktop.wait.Until(messenger::kFocusWait, [&] {
    for (const std::uint64_t window : desktop.windows.WindowsOf(gajim)) {
      if (std::ranges::find(before, window) == before.end()) opened = window;
    }
    return opened != 0 && desktop.windows.TakenOn(opened);
  });
  return shown ? opened : 0;
}

}  // namespace plumwick::gajim
