// The scratch pad tools.
#include "scratchpad/scratch_pad.h"

namespace plumwick::scratchpad {

namespace {

// After Time, Date or Get IP ! put something in the pad: it can be cleared and copied.
void Filled(const PadControls& pad, Button& filler) {
  filler.SetEnabled(false);
  pad.clear.SetEnabled(true);
  pad.copy.SetEnabled(true);
}

}  // namespace

void Clear(const PadControls& pad) {
  pad.text.SetText("");
  pad.time.SetEnabled(true);
  pad.date.SetEnabled(true);
  pad.get_ip.SetEnabled(true);
  pad.clear.SetEnabled(false);
}

void InsertTime(const PadControls& pad, TimeTexts& texts) {
  pad.text.ReplaceSelection(texts.TimeText());
  Filled(pad, pad.time);
}

void InsertDate(const PadControls& pad, TimeTexts& texts) {
  pad.text.ReplaceSelection(texts.DateText());
  Filled(pad, pad.date);
}

void PutLocalIP(const PadControls& pad, LocalAddress& local_address) {
  pad.text.SetText(local_address.LocalIP());
  Filled(pad, pad.get_ip);
}

void CopyToClipboard(const PadControls& pad, Clipboard& clipboard) {
  clipboard.SetText(pad.text.Text());
  pad.copy.SetEnabled(false);
}

}  // namespace plumwick::scratchpad
