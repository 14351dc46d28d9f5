// Moves the whole window with the pointer: started while a mouse button is held down, the move
// follows the pointer until that button is released. Its outcome is not reported: a press the
// desktop does not turn into a move simply ends.
#pragma once

namespace plumwick {

class WindowDrag {
 public:
  virtual ~WindowDrag() = default;
  virtual void StartMove() = 0;
};

}  // namespace plumwick
