// Whether keys typed on this X display can reach Gajim at all: in a Wayland session Gajim runs as
// a Wayland program unless told otherwise, and no X key reaches such a program.
#pragma once

#include "clients/gajim/qt/gajim_bus.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

// Throws Failure(kFocus), saying how to start Gajim through XWayland, when Gajim has no window on
// this display: called before a job that types opens anything.
void RequireKeysReachGajim(GajimBus& bus, const ClientDesktop& desktop);

}  // namespace plumwick::gajim
