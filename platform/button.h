// A push button: a caption, an enabled flag and a click. A disabled button raises no click.
#pragma once

#include <functional>
#include <string>

namespace plumwick {

class Button {
 public:
  virtual ~Button() = default;
  virtual std::string Caption() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  // The handler runs on every click of the enabled button.
  virtual void OnClick(std::function<void()> handler) = 0;
};

}  // namespace plumwick
