# Installing on Linux: the staging layout, the manual page, desktop entry, metainfo and the .deb
# under their checkers; then, as root, apt installing and purging the .deb on this host (waiting
# for the dpkg lock, restoring the host). `make package` makes the .deb (`make test` runs it).
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE SMOKEDRIFT_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
set(SMOKEDRIFT_DEB ${PROJECT_BINARY_DIR}/smokedrift_${PROJECT_VERSION}_${SMOKEDRIFT_DEB_ARCH}.deb)
add_test(NAME packaging.layout
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/layout.sh ${PROJECT_BINARY_DIR} ${SMOKEDRIFT_DEB})
add_test(NAME packaging.dpkg_install COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/dpkg_install.sh ${SMOKEDRIFT_DEB})
# The layout test rewrites install_manifest.txt; the install holds the host's dpkg lock.
set_tests_properties(packaging.layout packaging.dpkg_install PROPERTIES LABELS packaging TIMEOUT 1200
                     RUN_SERIAL TRUE SKIP_RETURN_CODE 77 ENVIRONMENT "${SMOKEDRIFT_MISSING_INPUTS_ENV}")
# Debian's own tools on the source tarball with packaging/debian: two package builds of the
# product (no tests), some minutes.
add_test(NAME packaging.debian_build COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/debian_build.sh)
set_tests_properties(packaging.debian_build PROPERTIES LABELS packaging TIMEOUT 2400 RUN_SERIAL TRUE
                     SKIP_RETURN_CODE 77)
# A distribution's plain build from the source tarball with Fedora's flags and its ctest (the unit,
# Wine and package labels), and a configure with BUILD_TESTING off: 8 to 16 minutes on 2
# cores shared with other builds, most of it the LTO build of the unit tests. It holds no lock, so it
# runs beside the other tests, which mostly wait on displays and compositors.
add_test(NAME packaging.plain_build COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/plain_build.sh)
set_tests_properties(packaging.plain_build PROPERTIES LABELS packaging TIMEOUT 2400 COST 50000
                     SKIP_RETURN_CODE 77)
