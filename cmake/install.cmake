# Installing on Linux: the program, where xscreensaver looks for hacks, its description for
# xscreensaver's settings, the desktop entry mate-screensaver lists, the AppStream metainfo, the
# icons, the manual page and the documents; and a Debian package of the same.
# Test and benchmark programs have no install rules.
include(GNUInstallDirs)

# The manual page is written by a small program from the option tables, then compressed as Debian
# wants it (-n: no time stamp, so the same tree gives the same bytes).
add_executable(smokedrift_manpage tools/manpage.cpp src/app/scene_options.cpp src/base/arguments.cpp)
target_include_directories(smokedrift_manpage PRIVATE src)
target_compile_options(smokedrift_manpage PRIVATE ${SMOKEDRIFT_WARNINGS})
target_compile_definitions(smokedrift_manpage PRIVATE SMOKEDRIFT_VERSION="${PROJECT_VERSION}")
set(SMOKEDRIFT_MANPAGE ${CMAKE_CURRENT_BINARY_DIR}/smokedrift.6)
add_custom_command(OUTPUT ${SMOKEDRIFT_MANPAGE}.gz
                   COMMAND smokedrift_manpage > ${SMOKEDRIFT_MANPAGE}
                   COMMAND gzip -9nf ${SMOKEDRIFT_MANPAGE}
                   DEPENDS smokedrift_manpage VERBATIM)

# Debian's copyright file names the licence; its changelog is required of a native package.
set(SMOKEDRIFT_DOC_BUILD ${CMAKE_CURRENT_BINARY_DIR}/doc)
file(READ ${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in SMOKEDRIFT_COPYRIGHT_HEAD)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE SMOKEDRIFT_LICENSE_TEXT)
string(REGEX REPLACE "\n\n" "\n .\n" SMOKEDRIFT_LICENSE_PARAGRAPHS "${SMOKEDRIFT_LICENSE_TEXT}")
string(REGEX REPLACE "\n([^ ])" "\n \\1" SMOKEDRIFT_LICENSE_INDENTED "${SMOKEDRIFT_LICENSE_PARAGRAPHS}")
file(WRITE ${SMOKEDRIFT_DOC_BUILD}/copyright "${SMOKEDRIFT_COPYRIGHT_HEAD}\nLicense: Expat\n ${SMOKEDRIFT_LICENSE_INDENTED}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${SMOKEDRIFT_DOC_BUILD}/changelog @ONLY)
add_custom_command(OUTPUT ${SMOKEDRIFT_DOC_BUILD}/changelog.gz
                   COMMAND gzip -9nkf ${SMOKEDRIFT_DOC_BUILD}/changelog
                   DEPENDS ${SMOKEDRIFT_DOC_BUILD}/changelog VERBATIM)
add_custom_target(smokedrift_install_files ALL DEPENDS ${SMOKEDRIFT_MANPAGE}.gz ${SMOKEDRIFT_DOC_BUILD}/changelog.gz)

# Folders made by the install rules get these permissions whatever the umask, so the package does too.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# xscreensaver runs hacks from a folder of its own: Debian's libexec/xscreensaver, Arch's
# lib/xscreensaver, Fedora's libexec/xscreensaver. mate-screensaver looks there too.
set(SMOKEDRIFT_XSCREENSAVER_HACKDIR "${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver" CACHE STRING
    "Where xscreensaver looks for hacks: relative to the install prefix, or absolute")

install(TARGETS smokedrift RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A relative link there keeps one copy of the program. Both folders may be relative or absolute,
# and the prefix may change at install time (--prefix), so the link is worked out then. It is made
# in the build folder and installed as a file, so DESTDIR and install_manifest.txt treat it like
# every other file.
install(CODE "set(SMOKEDRIFT_HACKDIR [[${SMOKEDRIFT_XSCREENSAVER_HACKDIR}]])
  set(SMOKEDRIFT_BINDIR [[${CMAKE_INSTALL_BINDIR}]])
  set(SMOKEDRIFT_LINK_STAGE [[${CMAKE_CURRENT_BINARY_DIR}/hack-link]])")
install(SCRIPT cmake/install_hack_link.cmake)

install(FILES res/smokedrift.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
# The idle watcher's systemd user unit (not enabled: the README says how), naming the program
# where it is installed, which is known only when installing (--prefix, or the package's /usr).
install(CODE "
  set(SMOKEDRIFT_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/smokedrift\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/linux/smokedrift-idle.service.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/smokedrift-idle.service\" @ONLY)
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/smokedrift-idle.service DESTINATION lib/systemd/user)
install(FILES packaging/linux/smokedrift.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
configure_file(packaging/linux/org.example.smokedrift.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/org.example.smokedrift.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.example.smokedrift.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY res/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${SMOKEDRIFT_MANPAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES README.md ${SMOKEDRIFT_DOC_BUILD}/copyright ${SMOKEDRIFT_DOC_BUILD}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# `make package`: a Debian package of the installed files.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME smokedrift)
set(CPACK_PACKAGE_VENDOR "the smokedrift authors")
set(CPACK_PACKAGE_CONTACT "the smokedrift authors <authors@smokedrift.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen saver of drifting, glowing smoke")
# CPack puts the summary on the first line and indents each of these by one blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Twenty-five large, procedurally generated smoke clouds drift, swell, turn
and change colour over fading trails, between two black letterbox bands
that slowly breathe. A three-dimensional fly-through with stars and
particles, fog and a feedback effect can be switched on.
.
It runs full screen or as an xscreensaver hack, and renders pictures
headless. It draws with OpenGL 1.1.")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | mate-screensaver")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What dh_strip and a reproducible Debian build would do to the staged files, then the time of
# the commit for CPack's own archive members.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_staging.cmake)
set(CPACK_SMOKEDRIFT_SOURCE_DATE_EPOCH "${SMOKEDRIFT_SOURCE_DATE_EPOCH}")
set(CPACK_SMOKEDRIFT_OBJCOPY "${CMAKE_OBJCOPY}")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_project.cmake)
include(CPack)
