// The scratch pad tools: Clear, Time, Date, Get IP ! and Clipboard on the pad. Each filling
// button can be used once between two clears; the buttons switch one another's flags to say so.
#pragma once

#include "platform/button.h"
#include "platform/clipboard.h"
#include "platform/local_address.h"
#include "platform/text_box.h"
#include "platform/time_texts.h"

namespace plumwick::scratchpad {

// The pad's text box and its five buttons.
struct PadControls {
  TextBox& text;
  Button& clear;   // "Clear"
  Button& time;    // "Time"
  Button& date;    // "Date"
  Button& get_ip;  // "Get IP !"
  Button& copy;    // "Clipboard"
};

// Empties the pad; enables Time, Date and Get IP !, disables Clear; Clipboard keeps its flag.
void Clear(const PadControls& pad);
// Replaces the pad's selection with the time (inserts at the caret when none).
void InsertTime(const PadControls& pad, TimeTexts& texts);
// Replaces the pad's selection with the short date.
void InsertDate(const PadControls& pad, TimeTexts& texts);
// Replaces the whole pad with the local IP address; the caret ends at the start.
void PutLocalIP(const PadControls& pad, LocalAddress& local_address);
// Puts the pad's whole text on the clipboard.
void CopyToClipboard(const PadControls& pad, Clipboard& clipboard);

}  // namespace plumwick::scratchpad
