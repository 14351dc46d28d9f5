// Types key notation into the focused X window. libxdo owns the connection and finds the
// modifier keys a person may be holding; the keys themselves go out as plain XTest events,
// because libxdo's typing calls bind missing characters only for the moment of the key press
// (so a receiver that reads the keymap later gets the wrong character) and wait for the server
// several times for every key.
#include "platform/x11/x11_xtest_keystrokes.h"

// The key notation comes before any X header: Xlib defines KeyPress as a macro.
#include "keynotation/key_notation.h"
#include "platform/failure.h"
#include "platform/x11/x11_keystroke_plan.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <sys/types.h>
#include <unistd.h>
#include <wchar.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>

// xdo.h declares C functions without saying so; the system headers it pulls in are already
// included above, with their own guards.
extern "C" {
#include <xdo.h>
}

#include "platform/x11/x11_borrowed_keys.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_keyboard_block.h"
#include "platform/x11/x11_keyboard_turn.h"
#include "platform/x11/x11_keymap_writer.h"
#include "platform/x11/x11_layout_reader.h"
#include "platform/x11/x11_stroke_sender.h"
#include "platform/x11/x11_typing_watch.h"
#include "platform/x11/x11_window_facts.h"

namespace plumwick {
namespace {

using x11::Keycode;

struct XdoFreer {
  void operator()(xdo_t* xdo) const { xdo_free(xdo); }
};
using XdoPtr = std::unique_ptr<xdo_t, XdoFreer>;

struct FreeDeleter {
  void operator()(void* data) const { std::free(data); }
};

[[noreturn]] void Fail(const std::string& description) {
  throw Failure(error_code::kKeystrokes, description);
}

std::string Hex(unsigned long value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", value);
  return text;
}

XdoPtr Connect(const std::string& name, int& xkb_event_base) {
  x11::DisplayPtr display = x11::OpenDisplay(name, error_code::kKeystrokes, "Cannot type keys");
  int event_base, error_base, major, minor, opcode;
  if (!XTestQueryExtension(display.get(), &event_base, &error_base, &major, &minor)) {
    Fail("Cannot type keys: the X server does not offer the XTest extension.");
  }
  major = XkbMajorVersion;
  minor = XkbMinorVersion;
  if (!XkbQueryExtension(display.get(), &opcode, &xkb_event_base, &error_base, &major, &minor)) {
    Fail("Cannot type keys: the X server does not offer the XKB extension.");
  }
  XdoPtr xdo(xdo_new_with_opened_display(display.get(), nullptr, 1));
  if (!xdo) Fail("Cannot type keys: libxdo could not take the X connection.");
  static_cast<void>(display.release());  // xdo_free closes it now
  return xdo;
}

// The modifier keys held down right now, by the person or by a program that crashed mid-press.
std::vector<Keycode> HeldModifierKeys(const xdo_t* xdo) {
  charcodemap_t* keys = nullptr;
  int count = 0;
  xdo_get_active_modifiers(xdo, &keys, &count);
  const std::unique_ptr<charcodemap_t, FreeDeleter> owner(keys);
  std::vector<Keycode> keycodes;
  keycodes.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) keycodes.push_back(static_cast<Keycode>(keys[i].code));
  return keycodes;
}

XkbStateRec KeyboardState(Display* display) {
  XkbStateRec state{};
  if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) {
    Fail("Cannot type keys: the X server did not tell the keyboard state.");
  }
  return state;
}

// Caps Lock is switched off while typing, so it is no part of how a level is reached.
unsigned KeptLocks(const XkbStateRec& state) {
  return state.locked_mods & ~LockMask;
}

// Which keys are down right now, on any keyboard of the display: one bit per keycode.
using KeysDown = std::array<char, 32>;

KeysDown QueryKeysDown(Display* display) {
  KeysDown keymap{};
  XQueryKeymap(display, keymap.data());
  return keymap;
}

// Those of `keycodes` that are down.
std::vector<Keycode> Down(const KeysDown& keymap, const std::vector<Keycode>& keycodes) {
  std::vector<Keycode> down;
  for (const Keycode keycode : keycodes) {
    if (((static_cast<unsigned char>(keymap.at(keycode / 8)) >> (keycode % 8)) & 1U) != 0) {
      down.push_back(keycode);
    }
  }
  return down;
}

// A key as its cap shows it: "Return", "A".
std::string KeyName(Display* display, Keycode keycode) {
  const KeySym keysym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
  const char* name = keysym == NoSymbol ? nullptr : XKeysymToString(keysym);
  if (name == nullptr) return "with keycode " + std::to_string(keycode);
  std::string text = name;
  if (text.size() == 1) {
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  }
  return text;
}

std::vector<std::string> KeyNames(Display* display, const std::vector<Keycode>& keycodes) {
  std::vector<std::string> names;
  names.reserve(keycodes.size());
  for (const Keycode keycode : keycodes) names.push_back(KeyName(display, keycode));
  return names;
}

}  // namespace

// Where the keys of a Type call may go: the window it was given, where the input focus must be.
// The focus the window was last found around is kept, so that a key costs one question.
class TargetWindow {
 public:
  TargetWindow(Display* display, Window window) : display_(display), window_(window) {}

  // Whether keys sent now go into the window. Without a window (0), the first answer fixes it
  // to where the keys go then.
  bool HasFocus() {
    const Window focus = x11::KeysWindow(display_);
    if (focus == None) return false;
    if (focus == seen_) return true;
    if (window_ == None) window_ = focus;
    // The focus in the window (a toolkit's focus window inside it), or on a frame around it.
    if (!x11::Within(display_, focus, window_) && !x11::Within(display_, window_, focus)) {
      return false;
    }
    seen_ = focus;
    return true;
  }

 private:
  Display* display_;
  Window window_;
  Window seen_ = None;
};

struct XTestKeystrokes::Connection {
  XdoPtr xdo;
  int xkb_event_base = 0;
  x11::SpareKeyPool pool;
  std::optional<x11::KeyboardTurn> turn;  // made on the first job; goes before the connection
  std::optional<x11::KeyboardBlockProbe> probe;  // likewise, on the first look
  std::optional<x11::TypingWatch> watch;
  std::optional<x11::BorrowedKeysRecord> record;
  // Whether the record on the display is this job's (another Plumwick's job may hold it while this
  // one waits for its turn), and whether this job gave back what a killed one left.
  bool recorded = false;
  bool leftovers_given_back = false;
  // Whether keys went out since the last read receipt, and the pool's use when it was asked for.
  bool unread = false;
  std::uint64_t asked_through = 0;
  // What each key gave when the keys typed last were planned, with the free keys bound.
  std::vector<x11::LayoutEntry> known;

  // Whether a key gives something else now, in the group in use now.
  bool LayoutDiffers() {
    const XkbStateRec state = KeyboardState(display());
    return x11::ReadKeyboardLayout(display(), state.group, KeptLocks(state)).entries != known;
  }
  // Whether the layout changed since it was last looked at: asked of the server only once it
  // told of a change.
  bool LayoutChanged() { return watch->LayoutChanged() && LayoutDiffers(); }

  // A layout that changed under keys not yet read may have turned them into other characters.
  void ThrowIfLayoutChangedUnderUnreadKeys() {
    if (unread && LayoutChanged()) {
      Fail(
          "The keyboard layout changed while keys were being typed (another layout, group or "
          "key binding was chosen), so some of the keys typed may have arrived as other "
          "characters. The rest was not typed.");
    }
  }

  // What keeps keys from the focused window now; empty when nothing does.
  std::string Blocked() {
    if (!probe) probe.emplace(display());
    switch (probe->Probe()) {
      case x11::KeyboardBlock::kGrabbed:
        return "another program holds the keyboard (a screen locker, an open menu or a drag)";
      case x11::KeyboardBlock::kScreenSaver:
        return "the screen saver is on (the screen is blanked or locked)";
      case x11::KeyboardBlock::kButtonHeld:
        return "a mouse button is held down (a click or a drag under way)";
      case x11::KeyboardBlock::kNone:
        break;
    }
    return {};
  }

  Display* display() const { return xdo->xdpy; }
};

XTestKeystrokes::XTestKeystrokes(std::string display) : display_(std::move(display)) {}

XTestKeystrokes::~XTestKeystrokes() {
  ReleaseKeys();
}

void XTestKeystrokes::ReleaseKeys() noexcept {
  if (!connection_) return;
  try {
    Display* display = connection_->display();
    x11::XErrorTrap trap(display);
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    const auto layout = x11::ReadKeyboardLayout(display, state.group, 0);
    std::vector<x11::KeycodeBinding> empty;
    for (const auto& binding : connection_->pool.Written()) {
      // Left alone when someone else has rebound the key since.
      const auto now = layout.first_levels.find(binding.keycode);
      if (now == layout.first_levels.end() || now->second != binding.keysyms) continue;
      empty.push_back({binding.keycode, {}});
    }
    x11::WriteKeycodeBindings(display, empty);
    // Only once the keys are given back: a program killed before that leaves the record.
    if (!trap.Failed() && connection_->recorded) connection_->record->Clear();
  } catch (...) {
    // Called on the way out, where nothing can report; the keys then stay bound.
  }
  connection_.reset();
}

std::string XTestKeystrokes::Blocked() {
  return Connected().Blocked();
}

bool XTestKeystrokes::TakeTurn() {
  Connection& connection = Connected();
  if (!connection.turn) connection.turn.emplace(connection.display());
  if (!connection.turn->Take()) return false;
  // No other Plumwick is in a job now: keys recorded as borrowed are a killed one's.
  if (!connection.leftovers_given_back) connection.record->GiveBackLeftovers();
  connection.leftovers_given_back = true;
  return true;
}

bool XTestKeystrokes::Borrowed() const {
  return connection_ && !connection_->pool.Written().empty();
}

XTestKeystrokes::Connection& XTestKeystrokes::Connected() {
  if (!connection_) {
    auto connection = std::make_unique<Connection>();
    connection->xdo = Connect(display_, connection->xkb_event_base);
    connection->watch.emplace(connection->display(), connection->xkb_event_base);
    connection->record.emplace(connection->display());
    connection_ = std::move(connection);
  }
  return *connection_;
}

std::vector<std::string> XTestKeystrokes::HeldKeys(const KeySequence& tokens) {
  if (tokens.empty()) return {};
  Display* display = Connected().display();
  const KeysDown keymap = QueryKeysDown(display);
  // Nearly always so: then the layout need not be read.
  if (std::all_of(keymap.begin(), keymap.end(), [](char bits) { return bits == 0; })) return {};
  const XkbStateRec state = KeyboardState(display);
  const auto layout = x11::ReadKeyboardLayout(display, state.group, KeptLocks(state));
  return KeyNames(display, Down(keymap, x11::LayoutKeysPressed(tokens, layout, connection_->pool)));
}

TypedKeys XTestKeystrokes::Type(const KeySequence& tokens, std::uint64_t window) {
  if (tokens.empty()) return {};
  Connection& connection = Connected();
  Display* display = connection.display();
  x11::XErrorTrap trap(display);
  connection.ThrowIfLayoutChangedUnderUnreadKeys();
  connection.watch->LayoutChanged();  // nothing typed is unread, or nothing changed

  const XkbStateRec state = KeyboardState(display);
  const unsigned kept_locks = KeptLocks(state);
  const auto layout = x11::ReadKeyboardLayout(display, state.group, kept_locks);
  // More distinct characters the layout lacks than there are spare keys: the first ones now, the
  // rest once the receiver has read them (kUnread). None at all: the plan says why.
  const std::size_t plannable = x11::PlannableKeys(tokens, layout, connection.pool);
  const std::size_t count = KeyCount(tokens);
  const KeySequence keys =
      plannable > 0 && plannable < count ? KeysBefore(tokens, plannable) : tokens;
  x11::SpareKeyPool pool = connection.pool;
  const x11::KeystrokePlan plan = x11::PlanKeystrokes(keys, layout, pool);
  // The receiver would read a key typed before under the binding of after.
  if (pool.ReboundUnread()) return {0, TypedKeys::Stop::kUnread};
  std::vector<x11::KeycodeBinding> held_or_about_to = connection.pool.Written();
  connection.pool = std::move(pool);
  connection.known = layout.entries;

  if (!plan.bindings.empty()) {
    // Recorded first: a Plumwick killed now leaves a record for the next to give the keys back,
    // which matches the keys whether or not their new binding was written yet.
    const std::vector<x11::KeycodeBinding> written = connection.pool.Written();
    held_or_about_to.insert(held_or_about_to.end(), written.begin(), written.end());
    connection.record->Record(held_or_about_to);
    connection.recorded = true;
    {
      // Keymap events that come while no other program can change the keymap are this one's.
      const x11::ServerGrab grab(display);
      x11::WriteKeycodeBindings(display, plan.bindings);
      if (trap.Failed()) {
        Fail("Cannot type keys: the X server refused to bind a free key (" + trap.FirstError() +
             "). Nothing was typed.");
      }
      // Read back before any key is sent: should the server have made anything else of a
      // binding, a wrong character would be typed and never noticed.
      const auto bound_layout = x11::ReadKeyboardLayout(display, state.group, kept_locks);
      connection.watch->TakeOwnChanges();
      connection.known = bound_layout.entries;
      if (const auto* wrong = x11::FirstMisbound(plan.spare, bound_layout)) {
        Fail("Cannot type keys: keysym " + Hex(wrong->keysym) + " bound to keycode " +
             std::to_string(wrong->stroke.keycode) +
             " does not come out as expected. Nothing was typed.");
      }
    }
    connection.record->Record(written);
    connection.ThrowIfLayoutChangedUnderUnreadKeys();
  }

  // The caller has waited for the person to let go of the keys the text needs, and for the
  // keyboard; a key pressed since would swallow the job's press of it, and keys sent while another
  // program holds the keyboard would all go to that program. The caller waits again.
  if (!Down(QueryKeysDown(display), x11::LayoutKeysPressed(keys, layout, connection.pool))
           .empty() ||
      !connection.Blocked().empty()) {
    return {0, TypedKeys::Stop::kKeyboardBusy};
  }

  // Modifiers the person still holds (Shift from a Shift-click, say) would change every key:
  // they are let go for the typing and held again afterwards, as they were found.
  const std::vector<Keycode> held = HeldModifierKeys(connection.xdo.get());
  x11::SetKeysDown(display, held, false);
  if ((state.locked_mods & LockMask) != 0) XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);
  if (state.latched_mods != 0) XkbLatchModifiers(display, XkbUseCoreKbd, state.latched_mods, 0);
  TargetWindow into(display, static_cast<Window>(window));
  bool layout_changed = false;
  bool click = false;
  const Time before = connection.probe->ServerTime();
  const Time later = connection.probe->Later();
  const std::size_t sent = x11::SendStrokesWhile(display, plan.strokes, layout.modifier_keys, [&] {
    // A click under way: the window manager's handling of it (the focus it moves) waits for the
    // server, which the typing holds; the keys wait for the click instead.
    click = connection.probe->PointerHeld(later);
    if (click) return false;
    // The question about the focus also brings in the layout events sent before its answer.
    if (!into.HasFocus()) return false;
    layout_changed = connection.LayoutChanged();
    return !layout_changed;
  });
  connection.unread = connection.unread || sent > 0;
  // Also the mark that every key event went out before it.
  const Time after = connection.probe->ServerTime();
  // The key events must be through before Caps Lock and the held keys come back.
  const bool failed = trap.Failed();
  if ((state.locked_mods & LockMask) != 0) {
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
  }
  x11::SetKeysDown(display, held, true);
  if (failed || trap.Failed()) {
    Fail("Typing was cut short: the X server refused a key event (" + trap.FirstError() + ").");
  }
  if (layout_changed) {
    Fail(
        std::string("The keyboard layout changed while keys were being typed (another layout, "
                    "group or key binding was chosen), so ") +
        (connection.unread ? "some of the keys typed may have arrived as other characters. " : "") +
        "The rest was not typed.");
  }
  TypedKeys::Stop stop = TypedKeys::Stop::kDone;
  if (click) {
    stop = TypedKeys::Stop::kKeyboardBusy;
  } else if (sent < plan.strokes.size()) {
    stop = TypedKeys::Stop::kFocusLeft;
  } else if (sent < count) {
    stop = TypedKeys::Stop::kUnread;
  }
  return {sent, stop, static_cast<std::uint32_t>(before), static_cast<std::uint32_t>(after)};
}

std::string XTestKeystrokes::Untypable(const KeySequence& tokens) {
  Connection& connection = Connected();
  Display* display = connection.display();
  const XkbStateRec state = KeyboardState(display);
  const auto layout = x11::ReadKeyboardLayout(display, state.group, KeptLocks(state));
  if (x11::SpareCapacity(layout, connection.pool) > 0) return {};
  const std::vector<char32_t> missing = x11::MissingCharacters(tokens, layout, connection.pool);
  if (missing.empty()) return {};
  const std::size_t count = missing.size();
  return std::to_string(count) + (count == 1 ? " character" : " characters") +
         " the keyboard layout lacks, such as \"" + Utf8Of(std::u32string(1, missing.front())) +
         "\", and the layout leaves no key free to type " + (count == 1 ? "it" : "them");
}

void XTestKeystrokes::AskReadReceipt(std::uint64_t window) {
  Connection& connection = Connected();
  connection.asked_through = connection.pool.Now();
  connection.watch->AskReceipt(static_cast<Window>(window));
}

bool XTestKeystrokes::ReadReceiptCame() {
  Connection& connection = Connected();
  if (!connection.watch->ReceiptCame()) return false;
  connection.ThrowIfLayoutChangedUnderUnreadKeys();
  connection.unread = false;
  connection.pool.MarkRead(connection.asked_through);
  return true;
}

}  // namespace plumwick
