// A label drawn on the window's surface. Its one event is a press of any mouse button over it.
#pragma once

#include <functional>

namespace plumwick {

class Label {
 public:
  virtual ~Label() = default;
  virtual void OnMouseDown(std::function<void()> handler) = 0;
};

}  // namespace plumwick
