# Installing and packaging. `cmake --install` puts the programs in bin/, a desktop entry for each in
# share/applications/ and (from assets/artwork.cmake) the icon in the hicolor theme; `cpack` in the
# build directory makes a Debian package of the same files. Included from the top-level
# CMakeLists.txt once the programs are defined.
include(GNUInstallDirs)

# A program and its desktop entry.
function(plumwick_install_program program name comment)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(entry_program ${program})
  set(entry_name ${name})
  set(entry_comment ${comment})
  set(entry ${PROJECT_BINARY_DIR}/packaging/${program}.desktop)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/plumwick.desktop.in ${entry} @ONLY)
  install(FILES ${entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endfunction()

plumwick_install_program(plumwick-sandbox "Plumwick Sandbox"
  "Try the messenger companion with its built-in practice client")
if(TARGET plumwick)
  plumwick_install_program(plumwick "Plumwick"
    "Set your status, keep your contact list and send messages through your messaging client")
  # plumwick drives a libpurple client over the session bus; the sandbox needs none.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pidgin | finch")
endif()

# The Debian package: `cpack -G DEB` (DEB is the default here). Library dependencies are worked out
# by dpkg-shlibdeps from the programs; the fonts the window maps its design fonts to are loaded by
# name at run time, so they are listed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plumwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-window desktop companion for an instant-messaging client")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Plumwick sets your status, keeps your contact list at hand, sends messages and adds or "
  "removes contacts through the messaging client running beside it, and offers a scratch pad "
  "with the time, the date and your address.\n"
  "plumwick-sandbox runs it against a built-in practice client.")
set(CPACK_PACKAGE_CONTACT "Plumwick developers <plumwick@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-urw-base35")
set(CPACK_STRIP_FILES ON)
include(CPack)
