# Installing: the staging layout, the manual page, the .deb under lintian, and a real dpkg -i / -r.
# The package is made by `make package` (which `make test` runs first).
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE SMOKEDRIFT_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
add_test(NAME e2e.linux_package
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/linux_package.sh ${PROJECT_BINARY_DIR}
                 ${PROJECT_BINARY_DIR}/smokedrift_${PROJECT_VERSION}_${SMOKEDRIFT_DEB_ARCH}.deb)
set_tests_properties(e2e.linux_package PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)
