// Whether keys typed on this X display can reach Gajim at all.
#include "clients/gajim/qt/gajim_on_display.h"

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

}  // namespace plumwick::gajim
