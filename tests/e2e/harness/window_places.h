// The program's window as a person finds it: its caption, and where its controls are in its
// client area (left, top, width, height), as the window's design places them: where a person
// clicks.
#pragma once

#include <chrono>

#include "tests/e2e/harness/geometry.h"

namespace plumwick::e2e {

inline constexpr const char* kCaption = "PLUMWICK";
// How long the window may take to show on a loaded machine.
inline constexpr auto kWindowTimeout = std::chrono::seconds(15);

}  // namespace plumwick::e2e

namespace plumwick::e2e::place {

inline constexpr Rect kStatus{8, 48, 249, 19};           // status_box
inline constexpr Rect kContacts{8, 72, 249, 182};        // contact_list
inline constexpr Rect kSelectList{8, 264, 129, 17};      // select_list
inline constexpr Rect kClearList{136, 264, 121, 17};     // clear_list
inline constexpr Rect kText1{8, 288, 249, 17};           // the scratch pad
inline constexpr Rect kTime{8, 312, 81, 17};             // insert_time
inline constexpr Rect kDate{96, 312, 73, 17};            // insert_date
inline constexpr Rect kGetIP{8, 336, 81, 17};            // get_ip
inline constexpr Rect kClipboard{96, 336, 73, 17};       // copy_pad
inline constexpr Rect kSignOut{176, 336, 81, 17};        // sign_out
inline constexpr Rect kText2{8, 360, 249, 14};           // the contact's address
inline constexpr Rect kText4{8, 376, 249, 13};           // the message
inline constexpr Rect kDeleteContact{8, 392, 81, 17};    // delete_contact
inline constexpr Rect kSendMessage{96, 392, 73, 17};     // send_message
inline constexpr Rect kAddContact{176, 392, 81, 17};     // add_contact
inline constexpr Rect kText3{8, 416, 249, 15};           // the new display name
inline constexpr Rect kChangeNickName{8, 440, 249, 17};  // change_nickname
inline constexpr Rect kExit{8, 456, 249, 17};            // exit_program

}  // namespace plumwick::e2e::place
