# Installing and packaging. `cmake --install` puts the programs in bin/, a desktop entry and a
# manual page for each in share/applications/ and share/man/man1/, the AppStream metainfo in
# share/metainfo/, the copyright file and the changelog in share/doc/plumwick/ and (from
# assets/artwork.cmake) the icon in the hicolor theme; `cpack` in the build directory makes a
# Debian package of the same files. Included from the top-level CMakeLists.txt once the programs
# are defined. scripts/package-check builds that package and checks it as Debian would.
include(GNUInstallDirs)

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/plumwick)

find_program(PLUMWICK_SCDOC scdoc)
if(NOT PLUMWICK_SCDOC)
  message(FATAL_ERROR "The manual pages are written for scdoc: apt-get install scdoc "
                      "(scripts/install-deps installs it)")
endif()
find_program(PLUMWICK_GZIP gzip REQUIRED)

# The release: the latest entry of packaging/changelog, which the package also carries. Its date
# dates the manual pages and the metainfo, so that a rebuild gives the same files.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging_dir}/changelog)
file(READ ${packaging_dir}/changelog changelog)
if(NOT changelog MATCHES "^plumwick \\(([^)]+)\\)")
  message(FATAL_ERROR "packaging/changelog does not start with a \"plumwick (VERSION)\" entry")
endif()
set(release_version ${CMAKE_MATCH_1})
if(NOT changelog MATCHES "\n -- [^\n]+>  ([^\n]+)\n")
  message(FATAL_ERROR "packaging/changelog: the latest entry has no \" -- NAME <ADDRESS>  DATE\" line")
endif()
set(release_date_text ${CMAKE_MATCH_1})
execute_process(COMMAND date -u -d "${release_date_text}" "+%s %F"
                OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(release_date)
list(GET release_date 0 release_epoch)
list(GET release_date 1 PLUMWICK_RELEASE_DATE)
if(NOT release_version STREQUAL PROJECT_VERSION)
  # Builds go on; packaging stops (see the pre-build check below).
  message(WARNING "packaging/changelog's latest entry is ${release_version}, the project is "
                  "${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION} before packaging")
endif()

# A manual page, rendered from packaging/man/ (see render.cmake there), installed compressed.
file(GLOB man_sources ${packaging_dir}/man/*.scd)
set(man_pages)
function(plumwick_manual_page program)
  set(page ${packaging_out}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page} ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}/man
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${packaging_dir}/man/${program}.1.scd -DOUTPUT=${page}
            -DVERSION=${PROJECT_VERSION} -DDATE_EPOCH=${release_epoch} -DSCDOC=${PLUMWICK_SCDOC}
            -DGZIP=${PLUMWICK_GZIP} -P ${packaging_dir}/man/render.cmake
    DEPENDS ${man_sources} ${packaging_dir}/man/render.cmake
    COMMENT "Rendering the manual page ${program}(1)"
    VERBATIM)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(man_pages ${man_pages} ${page}.gz PARENT_SCOPE)
endfunction()

# A program, its desktop entry and its manual page.
function(plumwick_install_program program name comment)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # A stripped install (cpack strips) also drops the sections that only name the compiler, as
  # Debian's own packages do.
  set(installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}")
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                            \"${installed}\" COMMAND_ERROR_IS_FATAL ANY)
  endif()")
  set(entry_program ${program})
  set(entry_name ${name})
  set(entry_comment ${comment})
  set(entry ${packaging_out}/${program}.desktop)
  configure_file(${packaging_dir}/plumwick.desktop.in ${entry} @ONLY)
  install(FILES ${entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  plumwick_manual_page(${program})
  set(man_pages ${man_pages} PARENT_SCOPE)
endfunction()

plumwick_install_program(plumwick-sandbox "Plumwick Sandbox"
  "Try the messenger companion with its built-in practice client")
plumwick_install_program(plumwick "Plumwick"
  "Set your status, keep your contact list and send messages through your messaging client")

# The changelog, compressed without name or time stamp as Debian wants.
add_custom_command(
  OUTPUT ${packaging_out}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${packaging_dir}/changelog ${packaging_out}/changelog
  COMMAND ${PLUMWICK_GZIP} -9nf ${packaging_out}/changelog
  DEPENDS ${packaging_dir}/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(plumwick_docs ALL DEPENDS ${man_pages} ${packaging_out}/changelog.gz)
install(FILES ${packaging_out}/changelog.gz ${packaging_dir}/copyright DESTINATION ${doc_dir})

configure_file(${packaging_dir}/org.example.plumwick.metainfo.xml.in
               ${packaging_out}/org.example.plumwick.metainfo.xml @ONLY)
install(FILES ${packaging_out}/org.example.plumwick.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian package: `cpack -G DEB` (DEB is the default here). Library dependencies are worked out
# by dpkg-shlibdeps from the programs; the fonts the window maps its design fonts to are loaded by
# name at run time, so they are listed. plumwick drives Pidgin or Gajim over the session bus, either
# of which a user may have already: suggested, not required; the sandbox needs nothing more.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plumwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-window desktop companion for an instant-messaging client")
# Lines of at most 80 characters; an empty line parts paragraphs.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Plumwick sets your status, keeps your contact list at hand, sends messages\n"
  "and adds or removes contacts through Pidgin or Gajim running beside it, and\n"
  "offers a scratch pad with the time, the date and the machine's address.\n"
  "\n"
  "plumwick-sandbox runs the same window against a built-in practice messaging\n"
  "client, to try every control without an account.")
set(CPACK_PACKAGE_CONTACT "Plumwick developers <plumwick@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pidgin | gajim")
set(CPACK_STRIP_FILES ON)
# No package whose changelog names another version than the package's.
set(version_check ${packaging_out}/check-release.cmake)
file(WRITE ${version_check}
  "if(NOT \"${release_version}\" STREQUAL \"${PROJECT_VERSION}\")\n"
  "  message(FATAL_ERROR \"packaging/changelog's latest entry is ${release_version}, the project "
  "is ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}\")\n"
  "endif()\n")
set(CPACK_PRE_BUILD_SCRIPTS ${version_check})
include(CPack)
