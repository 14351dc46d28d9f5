# plumwick: the program driving Pidgin over D-Bus. Included by CMakeLists.txt next to this file.
add_executable(plumwick main_purple.cpp)
target_link_libraries(plumwick PRIVATE plumwick_desktop plumwick_purple_client)
