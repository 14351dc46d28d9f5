// The clipboard through QClipboard, as plain text.
#pragma once

#include "platform/clipboard.h"

namespace plumwick {

class QtClipboard final : public Clipboard {
 public:
  void SetText(const std::string& text) override;
};

}  // namespace plumwick
