// A one-line text box of the window: its whole text and its current selection.
#pragma once

#include <string>

namespace plumwick {

class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual std::string Text() const = 0;
  // Replaces the whole text; the caret ends at the start with nothing selected.
  virtual void SetText(const std::string& text) = 0;
  // Replaces the current selection (or inserts at the caret); the caret ends after the new text.
  virtual void ReplaceSelection(const std::string& text) = 0;
};

}  // namespace plumwick
