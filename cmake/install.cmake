# Installing on Linux: the program, where xscreensaver looks for hacks, its description for
# xscreensaver's settings, the desktop entry mate-screensaver lists, the AppStream metainfo, the
# icons, the manual page and the documents; and a Debian package of the same.
# Test and benchmark programs have no install rules.
include(GNUInstallDirs)

# The manual page is written by a small program from the option tables (at install time, below,
# when the folders it names are known).
add_executable(smokedrift_manpage tools/manpage.cpp src/app/scene_options.cpp src/base/arguments.cpp)
target_include_directories(smokedrift_manpage PRIVATE src)
target_compile_options(smokedrift_manpage PRIVATE ${SMOKEDRIFT_WARNINGS})
target_compile_definitions(smokedrift_manpage PRIVATE SMOKEDRIFT_VERSION="${PROJECT_VERSION}")
set(SMOKEDRIFT_MANPAGE ${CMAKE_CURRENT_BINARY_DIR}/smokedrift.6)

# Debian's copyright file names the licence; its changelog is required of a native package. Both
# are packaging/debian's, which Debian's own tools build from too.
set(SMOKEDRIFT_DEBIAN ${PROJECT_SOURCE_DIR}/packaging/debian)
file(STRINGS ${SMOKEDRIFT_DEBIAN}/changelog SMOKEDRIFT_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT SMOKEDRIFT_CHANGELOG_TOP MATCHES "^smokedrift \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog's first entry is not version ${PROJECT_VERSION}: ${SMOKEDRIFT_CHANGELOG_TOP}")
endif()
set(SMOKEDRIFT_DOC_BUILD ${CMAKE_CURRENT_BINARY_DIR}/doc)
add_custom_command(OUTPUT ${SMOKEDRIFT_DOC_BUILD}/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${SMOKEDRIFT_DOC_BUILD}
                   COMMAND gzip -9nc ${SMOKEDRIFT_DEBIAN}/changelog > ${SMOKEDRIFT_DOC_BUILD}/changelog.gz
                   DEPENDS ${SMOKEDRIFT_DEBIAN}/changelog VERBATIM)
add_custom_target(smokedrift_install_files ALL DEPENDS smokedrift_manpage ${SMOKEDRIFT_DOC_BUILD}/changelog.gz)

# Folders made by the install rules get these permissions whatever the umask, so the package does too.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# xscreensaver runs hacks from a folder of its own: Debian's libexec/xscreensaver, Arch's
# lib/xscreensaver, Fedora's libexec/xscreensaver. mate-screensaver looks there too.
set(SMOKEDRIFT_XSCREENSAVER_HACKDIR "${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver" CACHE STRING
    "Where xscreensaver looks for hacks: relative to the install prefix, or absolute")
# Where xscreensaver's settings program reads the hacks' descriptions (the manual page names it).
set(SMOKEDRIFT_XSCREENSAVER_CONFIGDIR "${CMAKE_INSTALL_DATADIR}/xscreensaver/config" CACHE STRING
    "Where xscreensaver reads hack descriptions: relative to the install prefix, or absolute")

# systemd's user units: where its pkg-config file says. That path is absolute under systemd's own
# prefix; taken relative to it, the unit follows the install's prefix (a /usr/local install, a
# package's staging), where systemd looks too. Without the .pc file, the folder every systemd has.
pkg_get_variable(SMOKEDRIFT_SYSTEMD_USER_UNITS systemd systemduserunitdir)
pkg_get_variable(SMOKEDRIFT_SYSTEMD_PREFIX systemd prefix)
if(NOT SMOKEDRIFT_SYSTEMD_USER_UNITS)
  set(SMOKEDRIFT_SYSTEMD_USER_UNITS lib/systemd/user)
elseif(SMOKEDRIFT_SYSTEMD_PREFIX)
  cmake_path(IS_PREFIX SMOKEDRIFT_SYSTEMD_PREFIX "${SMOKEDRIFT_SYSTEMD_USER_UNITS}" NORMALIZE under_prefix)
  if(under_prefix)
    cmake_path(RELATIVE_PATH SMOKEDRIFT_SYSTEMD_USER_UNITS BASE_DIRECTORY "${SMOKEDRIFT_SYSTEMD_PREFIX}")
  endif()
endif()
set(SMOKEDRIFT_SYSTEMD_USER_UNIT_DIR "${SMOKEDRIFT_SYSTEMD_USER_UNITS}" CACHE STRING
    "Where systemd user units go: relative to the install prefix, or absolute (default: pkg-config systemd)")

# Where the install rules below put files, for the record of the folders an install makes.
file(GLOB SMOKEDRIFT_ICON_DIRS LIST_DIRECTORIES true RELATIVE ${PROJECT_SOURCE_DIR}/res/icons
     ${PROJECT_SOURCE_DIR}/res/icons/hicolor/*/apps)
list(TRANSFORM SMOKEDRIFT_ICON_DIRS PREPEND ${CMAKE_INSTALL_DATADIR}/icons/)
set(SMOKEDRIFT_INSTALL_DIRS ${CMAKE_INSTALL_BINDIR} ${SMOKEDRIFT_XSCREENSAVER_HACKDIR}
    ${SMOKEDRIFT_XSCREENSAVER_CONFIGDIR} ${SMOKEDRIFT_SYSTEMD_USER_UNIT_DIR} ${CMAKE_INSTALL_DATADIR}/applications/screensavers
    ${CMAKE_INSTALL_DATADIR}/metainfo ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces ${SMOKEDRIFT_ICON_DIRS} ${CMAKE_INSTALL_MANDIR}/man6 ${CMAKE_INSTALL_DOCDIR})
install(CODE "set(SMOKEDRIFT_INSTALL_DIRS [[${SMOKEDRIFT_INSTALL_DIRS}]])
  set(SMOKEDRIFT_FOLDER_RECORD [[${CMAKE_CURRENT_BINARY_DIR}/install_folders.txt]])")
install(SCRIPT cmake/install_folders.cmake)

install(TARGETS smokedrift RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A relative link there keeps one copy of the program. Both folders may be relative or absolute,
# and the prefix may change at install time (--prefix), so the link is worked out then. It is made
# in the build folder and installed as a file, so DESTDIR and install_manifest.txt treat it like
# every other file.
install(CODE "set(SMOKEDRIFT_HACKDIR [[${SMOKEDRIFT_XSCREENSAVER_HACKDIR}]])
  set(SMOKEDRIFT_BINDIR [[${CMAKE_INSTALL_BINDIR}]])
  set(SMOKEDRIFT_LINK_STAGE [[${CMAKE_CURRENT_BINARY_DIR}/hack-link]])")
install(SCRIPT cmake/install_hack_link.cmake)

install(FILES res/smokedrift.xml DESTINATION ${SMOKEDRIFT_XSCREENSAVER_CONFIGDIR})
# The idle watcher's systemd user unit (not enabled: the README says how), naming the program
# where it is installed, which is known only when installing (--prefix, or the package's /usr).
install(CODE "
  set(SMOKEDRIFT_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/smokedrift\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/linux/smokedrift-idle.service.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/smokedrift-idle.service\" @ONLY)
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/smokedrift-idle.service DESTINATION ${SMOKEDRIFT_SYSTEMD_USER_UNIT_DIR})
# The idle watcher's control interface, for introspection tools and code generators.
install(FILES res/org.example.smokedrift.Watcher.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(FILES packaging/linux/smokedrift.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
configure_file(packaging/linux/org.example.smokedrift.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/org.example.smokedrift.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.example.smokedrift.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY res/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The page names the description's folder as installed (--prefix, or the package's /usr), then is
# compressed as Debian wants it (-n: no time stamp, so the same tree gives the same bytes).
install(CODE "
  set(config [[${SMOKEDRIFT_XSCREENSAVER_CONFIGDIR}]])
  if(NOT IS_ABSOLUTE \"\${config}\")
    set(config \"\${CMAKE_INSTALL_PREFIX}/\${config}\")
  endif()
  execute_process(COMMAND \"$<TARGET_FILE:smokedrift_manpage>\" \"\${config}\"
                          \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces\"
                  OUTPUT_FILE [[${SMOKEDRIFT_MANPAGE}]] COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND gzip -9nf [[${SMOKEDRIFT_MANPAGE}]] COMMAND_ERROR_IS_FATAL ANY)
")
install(FILES ${SMOKEDRIFT_MANPAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES README.md ${SMOKEDRIFT_DEBIAN}/copyright ${SMOKEDRIFT_DOC_BUILD}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# `make package`: a Debian package of the installed files.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME smokedrift)
set(CPACK_PACKAGE_VENDOR "the smokedrift authors")
# The control fields come from packaging/debian/control, so both packages describe it alike.
file(READ ${SMOKEDRIFT_DEBIAN}/control SMOKEDRIFT_CONTROL)
function(smokedrift_control_field variable field)
  if(NOT SMOKEDRIFT_CONTROL MATCHES "\n${field}: ([^\n]*)")
    message(FATAL_ERROR "packaging/debian/control has no ${field}")
  endif()
  set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
smokedrift_control_field(CPACK_PACKAGE_CONTACT Maintainer)
smokedrift_control_field(CPACK_DEBIAN_PACKAGE_SECTION Section)
smokedrift_control_field(CPACK_DEBIAN_PACKAGE_PRIORITY Priority)
smokedrift_control_field(CPACK_DEBIAN_PACKAGE_SUGGESTS Suggests)
smokedrift_control_field(CPACK_PACKAGE_DESCRIPTION_SUMMARY Description)
# CPack puts the summary on the first line and indents each line of the rest by one blank.
string(REGEX MATCH "\nDescription: [^\n]*\n(( [^\n]*\n?)*)" SMOKEDRIFT_DESCRIPTION "${SMOKEDRIFT_CONTROL}")
string(REGEX REPLACE "(^|\n) " "\\1" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CMAKE_MATCH_1}")
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What dh_strip and a reproducible Debian build would do to the staged files, then the time of
# the commit for CPack's own archive members.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_staging.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_installed_size.cmake)
set(CPACK_SMOKEDRIFT_SOURCE_DATE_EPOCH "${SMOKEDRIFT_SOURCE_DATE_EPOCH}")
set(CPACK_SMOKEDRIFT_OBJCOPY "${CMAKE_OBJCOPY}")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_project.cmake)
include(CPack)
