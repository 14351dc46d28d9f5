// A single-selection, unsorted list box of texts.
#pragma once

#include <functional>
#include <string>

namespace plumwick {

class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual void Append(const std::string& entry) = 0;
  virtual void Clear() = 0;
  // The text of the current entry; the empty text when there is none.
  virtual std::string CurrentText() const = 0;
  virtual void OnDoubleClick(std::function<void()> handler) = 0;
};

}  // namespace plumwick
