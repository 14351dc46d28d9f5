# Start-up time and peak memory of plumwick-sandbox next to a bare Qt window of the same size, and
# next to that window with text in the design's fonts and the start-up cue (the floor). It
# runs on the end-to-end harness's private desktop, so it is built with the end-to-end tests.
# Included from bench/CMakeLists.txt.
if(PLUMWICK_TESTS AND PLUMWICK_E2E)
  find_package(X11 REQUIRED)
  add_executable(startup_bench_bare ${CMAKE_CURRENT_LIST_DIR}/startup_bench_bare.cpp)
  target_link_libraries(startup_bench_bare PRIVATE Qt6::Widgets)
  set_target_properties(startup_bench_bare PROPERTIES AUTOMOC OFF)
  add_executable(startup_bench_floor ${CMAKE_CURRENT_LIST_DIR}/startup_bench_floor.cpp)
  target_link_libraries(startup_bench_floor PRIVATE Qt6::Widgets plumwick_platform_pulse plumwick_assets)
  set_target_properties(startup_bench_floor PROPERTIES AUTOMOC OFF)

  add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
  target_include_directories(startup_bench PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(startup_bench PRIVATE plumwick_e2e_harness X11::X11)
  target_compile_definitions(startup_bench PRIVATE
    PLUMWICK_SANDBOX_PROGRAM="$<TARGET_FILE:plumwick-sandbox>"
    PLUMWICK_BARE_WINDOW_PROGRAM="$<TARGET_FILE:startup_bench_bare>"
    PLUMWICK_FLOOR_PROGRAM="$<TARGET_FILE:startup_bench_floor>")
  set_target_properties(startup_bench PROPERTIES AUTOMOC OFF)
  add_dependencies(startup_bench plumwick-sandbox startup_bench_bare startup_bench_floor)
endif()
