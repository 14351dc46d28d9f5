// What the window controller is built from: the window's controls, by what they do, and what the
// window asks of the desktop besides them. The program hands in the real ones, the unit tests
// doubles.
#pragma once

#include "platform/button.h"
#include "platform/clipboard.h"
#include "platform/combo_box.h"
#include "platform/error_report.h"
#include "platform/key_shield.h"
#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/local_address.h"
#include "platform/sound_cue.h"
#include "platform/text_box.h"
#include "platform/time_texts.h"
#include "platform/window.h"
#include "platform/window_drag.h"

namespace plumwick {

// The window's controls, by what they do. Their design names are in app/design.cpp.
struct MainWindowControls {
  ComboBox& status_box;
  Button& select_list;
  Button& clear_list;
  ListBox& contact_list;
  TextBox& address;
  TextBox& message;
  TextBox& nickname;
  Button& send_message;
  Button& add_contact;
  Button& delete_contact;
  Button& change_nickname;
  Button& sign_out;
  TextBox& pad;
  Button& clear_pad;
  Button& insert_time;
  Button& insert_date;
  Button& get_ip;
  Button& copy_pad;
  Button& exit_program;
  Label& title;
  SoundCue& click_cue;
  SoundCue& sign_out_cue;
  SoundCue& start_cue;
  LocalAddress& local_address;
};

// What the window itself asks of the desktop besides its controls.
struct MainWindowServices {
  Window& window;
  ErrorReport& errors;
  Clipboard& clipboard;
  TimeTexts& time_texts;
  WindowDrag& drag;
  // Covers the window from the keys a job types: none of them acts on its controls.
  KeyShield& key_shield;
};

}  // namespace plumwick
