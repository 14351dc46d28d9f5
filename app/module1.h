// Module1: the window drag routine the title label's mouse-down handler calls.
#pragma once

#include "platform/window_drag.h"

namespace plumwick::Module1 {

// Starts a move of the window that follows the pointer until the pressed button is released.
inline void FormDrag(WindowDrag& frmMsn) {
  frmMsn.StartMove();
}

}  // namespace plumwick::Module1
