// Gajim's windows on this X display: whether keys typed here can reach Gajim at all (in a Wayland
// session Gajim runs as a Wayland program unless told otherwise, and no X key reaches such a
// program), and the window a GTK action of Gajim's opens, for a job to type into.
#pragma once

#include <cstdint>

#include <QString>
#include <QVariantList>

#include "clients/gajim/qt/gajim_bus.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

// Throws Failure(kFocus), saying how to start Gajim through XWayland, when Gajim has no window on
// this display: called before a job that types opens anything.
void RequireKeysReachGajim(GajimBus& bus, const ClientDesktop& desktop);

// Shows Gajim's main window (Gajim's windows take the focus only once it was shown), activates
// the application's `action` with `parameter`, and returns the new window of Gajim's process
// `gajim` once the window manager has taken it on; 0 when none did within messenger::kFocusWait.
std::uint64_t OpenGajimWindow(GajimBus& bus, const ClientDesktop& desktop, std::int64_t gajim,
                              const QString& action, const QVariantList& parameter);

}  // namespace plumwick::gajim
