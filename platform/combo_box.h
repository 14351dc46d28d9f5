// An editable combo box with a drop-down list. Only a pick from the list is an event: typing into
// its edit field, Return there and arrow keys are not, and none of them adds an entry.
#pragma once

#include <functional>
#include <string>

namespace plumwick {

class ComboBox {
 public:
  virtual ~ComboBox() = default;
  virtual void Append(const std::string& entry) = 0;
  // The text of the edit field.
  virtual std::string Text() const = 0;
  virtual void OnPick(std::function<void()> handler) = 0;
  // Shows the text from before the last pick again: what was picked did not take effect.
  virtual void UndoPick() = 0;
};

}  // namespace plumwick
