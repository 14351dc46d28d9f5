// Handing the clipboard's text to the desktop's clipboard manager. Xlib only: its macros clash
// with Qt's names, so no Qt header comes in here.
#include "platform/x11/x11_clipboard_handover.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/x11/x11_display.h"

namespace plumwick {

namespace {

using SteadyClock = std::chrono::steady_clock;

// A requestor that went away mid-request raises BadWindow, which by default ends the process
// before it could end by itself.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// The text as Latin-1 for the STRING target; nullopt when it holds a character outside it.
std::optional<std::string> ToLatin1(const std::string& utf8) {
  std::string latin1;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      latin1 += static_cast<char>(byte);
    } else if ((byte == 0xc2 || byte == 0xc3) && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[++i]);
      latin1 += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3f));
    } else {
      return std::nullopt;
    }
  }
  return latin1;
}

class Handover {
 public:
  Handover(Display* display, const std::string& text)
      : display_(display), utf8_text_(text), latin1_text_(ToLatin1(text)) {
    const auto atom = [&](const char* name) { return XInternAtom(display_, name, False); };
    clipboard_ = atom("CLIPBOARD");
    manager_ = atom("CLIPBOARD_MANAGER");
    save_targets_ = atom("SAVE_TARGETS");
    targets_ = atom("TARGETS");
    multiple_ = atom("MULTIPLE");
    timestamp_ = atom("TIMESTAMP");
    utf8_ = atom("UTF8_STRING");
    text_ = atom("TEXT");
    plain_utf8_ = atom("text/plain;charset=utf-8");
    property_ = atom("PLUMWICK_CLIPBOARD_HANDOVER");
    // An answer goes in one request: up to 16 MB where the server takes big requests (they all
    // do), 256 KB otherwise. Larger ones would need the incremental transfer.
    const long extended = XExtendedMaxRequestSize(display_);
    max_bytes_ =
        static_cast<std::size_t>(extended > 0 ? extended : XMaxRequestSize(display_)) * 4 - 256;
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display_, window_, PropertyChangeMask);
  }
  ~Handover() { XDestroyWindow(display_, window_); }

  bool Run(SteadyClock::time_point deadline) {
    if (XGetSelectionOwner(display_, manager_) == None) return false;
    time_ = ServerTime(deadline);
    if (time_ == CurrentTime) return false;
    XSetSelectionOwner(display_, clipboard_, window_, time_);
    if (XGetSelectionOwner(display_, clipboard_) != window_) return false;
    // No list of targets in the property: the manager saves every target offered.
    XDeleteProperty(display_, window_, property_);
    XConvertSelection(display_, manager_, save_targets_, property_, window_, time_);
    XFlush(display_);
    std::optional<bool> saved;
    while (!saved && NextEvent(deadline)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == SelectionRequest) {
        Serve(event.xselectionrequest);
      } else if (event.type == SelectionNotify && event.xselection.selection == manager_) {
        saved = event.xselection.property != None;
      }
    }
    return saved.value_or(false);
  }

 private:
  // Waits for the next event until the deadline; false when none came.
  bool NextEvent(SteadyClock::time_point deadline) {
    while (XPending(display_) == 0) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
      if (left.count() <= 0) return false;
      pollfd connection{ConnectionNumber(display_), POLLIN, 0};
      if (poll(&connection, 1, static_cast<int>(left.count())) < 0) return false;
    }
    return true;
  }

  // The server's time now, from the property change an empty append causes: selections are owned
  // from a point in time, and CurrentTime is not one.
  Time ServerTime(SteadyClock::time_point deadline) {
    XChangeProperty(display_, window_, property_, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XFlush(display_);
    while (NextEvent(deadline)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == PropertyNotify && event.xproperty.window == window_) {
        return event.xproperty.time;
      }
    }
    return CurrentTime;
  }

  void Serve(const XSelectionRequestEvent& request) {
    // Old clients name no property: the answer then goes into one named after the target.
    const Atom property = request.property != None ? request.property : request.target;
    bool served = false;
    if (request.selection == clipboard_) {
      served = request.target == multiple_ ? ServeMultiple(request.requestor, property)
                                           : Answer(request.requestor, request.target, property);
    }
    XEvent notify{};
    notify.xselection.type = SelectionNotify;
    notify.xselection.display = display_;
    notify.xselection.requestor = request.requestor;
    notify.xselection.selection = request.selection;
    notify.xselection.target = request.target;
    notify.xselection.property = served ? property : None;
    notify.xselection.time = request.time;
    XSendEvent(display_, request.requestor, False, NoEventMask, &notify);
    XFlush(display_);
  }

  // Answers each (target, property) pair the requestor listed; a pair that cannot be answered
  // gets None as its property, as the convention asks.
  bool ServeMultiple(Window requestor, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, requestor, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) != Success ||
        data == nullptr) {
      return false;
    }
    const x11::XPtr<unsigned char> owner(data);
    if (format != 32) return false;
    std::vector<Atom> pairs(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
      if (!Answer(requestor, pairs[i], pairs[i + 1])) pairs[i + 1] = None;
    }
    XChangeProperty(display_, requestor, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs.data()),
                    static_cast<int>(pairs.size()));
    return true;
  }

  bool Answer(Window requestor, Atom target, Atom property) {
    if (target == targets_) {
      std::vector<Atom> offered{targets_, multiple_, timestamp_, utf8_, plain_utf8_, text_};
      if (latin1_text_) offered.push_back(XA_STRING);
      XChangeProperty(display_, requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered.data()),
                      static_cast<int>(offered.size()));
      return true;
    }
    if (target == timestamp_) {
      const long time = static_cast<long>(time_);
      XChangeProperty(display_, requestor, property, XA_INTEGER, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&time), 1);
      return true;
    }
    // TEXT may be answered in any text encoding: UTF-8 keeps every character.
    if (target == utf8_ || target == plain_utf8_ || target == text_) {
      return Put(requestor, property, target == text_ ? utf8_ : target, utf8_text_);
    }
    if (target == XA_STRING && latin1_text_) {
      return Put(requestor, property, XA_STRING, *latin1_text_);
    }
    return false;
  }

  bool Put(Window requestor, Atom property, Atom type, const std::string& bytes) {
    if (bytes.size() > max_bytes_) return false;
    XChangeProperty(display_, requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
    return true;
  }

  Display* display_;
  std::string utf8_text_;
  std::optional<std::string> latin1_text_;
  Window window_;
  Time time_ = CurrentTime;
  std::size_t max_bytes_;
  Atom clipboard_, manager_, save_targets_, targets_, multiple_, timestamp_, utf8_, text_,
      plain_utf8_, property_;
};

}  // namespace

bool HandClipboardToManager(const std::string& text, std::chrono::milliseconds limit) noexcept {
  try {
    const SteadyClock::time_point deadline = SteadyClock::now() + limit;
    const x11::DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return false;
    XSetErrorHandler(&IgnoreXError);
    return Handover(display.get(), text).Run(deadline);
  } catch (...) {
    return false;  // memory ran out: the program ends anyway
  }
}

}  // namespace plumwick
