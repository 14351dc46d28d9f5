// Qt's font database on X11 is fontconfig's; loading its default configuration once here leaves Qt
// the ready one. fontconfig sets up its default configuration atomically, so a Qt call racing this
// one is safe, only slower.
#include "platform/qt/font_system_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace plumwick {

FontSystemWarmUp::FontSystemWarmUp() : reader_([] { FcInit(); }) {}

void FontSystemWarmUp::Wait() {
  if (reader_.joinable()) reader_.join();
}

FontSystemWarmUp::~FontSystemWarmUp() {
  Wait();
}

}  // namespace plumwick
