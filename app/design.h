// The window's design as data: its settings, picture and decoration, and every control in stacking
// order from the top.
#pragma once

#include <span>

#include "platform/control_design.h"

namespace plumwick {

const WindowDesign& MainWindowDesign();
std::span<const ControlDesign> MainWindowControlDesigns();

}  // namespace plumwick
