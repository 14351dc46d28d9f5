// The scratch pad tools.
#include "scratchpad/scratch_pad.h"

namespace plumwick::scratchpad {

namespace {

// After Time, Date or Get IP ! put something in the pad: it can be cleared and copied.
void Filled(const PadControls& pad, Button& filler) {
  filler.SetEnabled(false);
  pad.KewlButtons2.SetEnabled(true);
  pad.KewlButtons6.SetEnabled(true);
}

}  // namespace

void Clear(const PadControls& pad) {
  pad.Text1.SetText("");
  pad.KewlButtons3.SetEnabled(true);
  pad.KewlButtons4.SetEnabled(true);
  pad.KewlButtons5.SetEnabled(true);
  pad.KewlButtons2.SetEnabled(false);
}

void InsertTime(const PadControls& pad, TimeTexts& texts) {
  pad.Text1.ReplaceSelection(texts.TimeText());
  Filled(pad, pad.KewlButtons3);
}

void InsertDate(const PadControls& pad, TimeTexts& texts) {
  pad.Text1.ReplaceSelection(texts.DateText());
  Filled(pad, pad.KewlButtons4);
}

void PutLocalIP(const PadControls& pad, LocalAddress& Winsock1) {
  pad.Text1.SetText(Winsock1.LocalIP());
  Filled(pad, pad.KewlButtons5);
}

void CopyToClipboard(const PadControls& pad, Clipboard& clipboard) {
  clipboard.SetText(pad.Text1.Text());
  pad.KewlButtons6.SetEnabled(false);
}

}  // namespace plumwick::scratchpad
