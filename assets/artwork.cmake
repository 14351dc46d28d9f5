# The window's artwork, painted at build time by our generator: the background bitmap and the icon
# as Qt resources (":/art/window.bmp", ":/art/plumwick.ico"), and the icon as a PNG for the
# desktop's icon theme. Included from assets/CMakeLists.txt after plumwick_assets exists.
add_executable(generate_artwork
  ${CMAKE_CURRENT_LIST_DIR}/generate_artwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/artwork_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/artwork_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/artwork_title.cpp
)
set_target_properties(generate_artwork PROPERTIES AUTOMOC OFF)

set(art_dir ${CMAKE_CURRENT_BINARY_DIR}/art)
set(art_resources ${art_dir}/window.bmp ${art_dir}/plumwick.ico)
add_custom_command(
  OUTPUT ${art_resources} ${art_dir}/plumwick.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${art_dir}
  COMMAND generate_artwork ${art_dir}
  DEPENDS generate_artwork
  COMMENT "Generating the window's artwork"
)
add_custom_target(plumwick_art DEPENDS ${art_resources} ${art_dir}/plumwick.png)

add_dependencies(plumwick_assets plumwick_art)
qt_add_resources(plumwick_assets "art" PREFIX "/art" BASE ${art_dir} FILES ${art_resources}
                 OUTPUT_TARGETS art_resource_targets)
# The resource object library lists the pictures as its own inputs; without this ordering a
# parallel build runs the generator twice at once, from both targets, into the same files.
if(art_resource_targets)
  add_dependencies(${art_resource_targets} plumwick_art)
endif()
install(FILES ${art_dir}/plumwick.png DESTINATION share/icons/hicolor/32x32/apps)
# Tests read the generated files themselves.
set(PLUMWICK_ART_DIR ${art_dir} PARENT_SCOPE)
