# The contact and account actions and the scratch pad of plumwick-sandbox, clicked and typed for
# real on the test desktop. Included by CMakeLists.txt next to this file.
find_package(X11 REQUIRED)

# A foreign window that logs its keys and takes the focus from a named window: the focus guard's
# test needs another program's window to hold the focus.
add_executable(plumwick_e2e_focus_thief focus_thief_main.cpp)
target_link_libraries(plumwick_e2e_focus_thief PRIVATE X11::X11)
set_target_properties(plumwick_e2e_focus_thief PROPERTIES AUTOMOC OFF)

plumwick_e2e_test(actions_e2e_test actions_e2e_test.cpp focus_guard_e2e_test.cpp)
target_link_libraries(actions_e2e_test PRIVATE plumwick_e2e_sandbox)
target_compile_definitions(actions_e2e_test PRIVATE
  PLUMWICK_FOCUS_THIEF="$<TARGET_FILE:plumwick_e2e_focus_thief>")
add_dependencies(actions_e2e_test plumwick_e2e_focus_thief)

plumwick_e2e_test(scratch_pad_e2e_test scratch_pad_e2e_test.cpp)
target_link_libraries(scratch_pad_e2e_test PRIVATE plumwick_e2e_sandbox)

# What the user made is kept and shown truly: the pad's selection, the status box, the clipboard
# after the program ends (with a clipboard manager running).
plumwick_e2e_test(kept_input_e2e_test kept_input_e2e_test.cpp)
target_link_libraries(kept_input_e2e_test PRIVATE plumwick_e2e_sandbox)

# Which clip each cue plays, told apart in the sink's recording, and the real Pause of Add contact.
plumwick_e2e_test(cues_and_pause_e2e_test cues_and_pause_e2e_test.cpp)
target_link_libraries(cues_and_pause_e2e_test PRIVATE plumwick_e2e_sandbox)
target_compile_definitions(cues_and_pause_e2e_test PRIVATE
  PLUMWICK_CUES_DIR="${PROJECT_BINARY_DIR}/assets/cues")

# One tour of every action, clicked and typed for real, on each desktop people use.
add_executable(desktop_tour_e2e_test desktop_tour_e2e_test.cpp)
target_link_libraries(desktop_tour_e2e_test PRIVATE plumwick_e2e_sandbox GTest::gtest_main)
set_target_properties(desktop_tour_e2e_test PROPERTIES AUTOMOC OFF)
plumwick_on_every_desktop(desktop_tour_e2e_test TIMEOUT 120
                          COMMAND desktop_tour_e2e_test)

# One keyboard job at a time and keys only for the client: fast clicks, a click on the program
# during a job, the user's Return in the client's notice, bad key notation; ending on a signal
# and starting without a sound device.
plumwick_e2e_test(keyboard_jobs_e2e_test keyboard_jobs_e2e_test.cpp ending_e2e_test.cpp)
target_link_libraries(keyboard_jobs_e2e_test PRIVATE plumwick_e2e_sandbox)
set_tests_properties(keyboard_jobs_e2e_test PROPERTIES TIMEOUT 300)
