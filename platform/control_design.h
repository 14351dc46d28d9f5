// The design of one control of the window as plain data: what the desktop side needs to create it.
#pragma once

#include <string_view>

namespace plumwick {

enum class ControlKind { kTextBox, kButton, kListBox, kComboBox, kLabel, kSoundHolder };

struct ControlDesign {
  std::string_view name;
  ControlKind kind;
  int left, top, width, height;  // pixels from the top-left corner of the client area
  std::string_view text;         // caption or initial text
  std::string_view tooltip;
  int tab;  // position in the keyboard focus order, 0 first; -1 for none
};

struct WindowDesign {
  std::string_view caption;
  int width, height;  // client area in pixels
};

}  // namespace plumwick
