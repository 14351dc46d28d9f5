# The skinned window on a real desktop: where it opens, the drag by its title and its painted
# surface. Included from tests/e2e/CMakeLists.txt.
plumwick_e2e_test(window_e2e_test window_e2e_test.cpp)
target_compile_definitions(window_e2e_test PRIVATE
  PLUMWICK_SANDBOX_PROGRAM="$<TARGET_FILE:plumwick-sandbox>")
add_dependencies(window_e2e_test plumwick-sandbox)
