// The stand-in screen locker: a window of its own that grabs the keyboard.
#include "tests/e2e/harness/keyboard_grabber.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include <X11/Xlib.h>

namespace plumwick::e2e {

KeyboardGrabber::KeyboardGrabber(const std::string& display)
    : listener_(
          display,
          [](void* connection) {
            auto* x = static_cast<Display*>(connection);
            // Override-redirect: no window manager takes it on or moves the focus to it.
            XSetWindowAttributes attributes{};
            attributes.override_redirect = True;
            const Window window =
                XCreateWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, CopyFromParent, InputOutput,
                              CopyFromParent, CWOverrideRedirect, &attributes);
            XSelectInput(x, window, KeyPressMask);
            XMapRaised(x, window);
            // A grab is refused while the window is not viewable yet or someone else holds one.
            for (int attempt = 0; attempt < 100; ++attempt) {
              if (XGrabKeyboard(x, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
                  GrabSuccess) {
                return;
              }
              std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            throw std::runtime_error("the stand-in locker could not grab the keyboard");
          },
          [this](void* /*connection*/, void* event) {
            if (static_cast<XEvent*>(event)->type == KeyPress) ++presses_;
          }) {}

}  // namespace plumwick::e2e
