// A push button: an enabled flag and a click. A disabled button raises no click. Handlers write the
// flag to lead the user through a sequence and never read it.
#pragma once

#include <functional>

namespace plumwick {

class Button {
 public:
  virtual ~Button() = default;
  virtual void SetEnabled(bool enabled) = 0;
  // The handler runs on every click of the enabled button.
  virtual void OnClick(std::function<void()> handler) = 0;
};

}  // namespace plumwick
