# The skinned window on a real desktop: where it opens, the drag by its title and its painted
# surface. Included from tests/e2e/CMakeLists.txt.
plumwick_e2e_test(window_e2e_test window_e2e_test.cpp)
target_link_libraries(window_e2e_test PRIVATE plumwick_e2e_sandbox)
