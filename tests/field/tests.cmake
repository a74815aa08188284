# The field level: today's desktops, from a Debian 13 root (tests/field/root.sh, cached outside the
# tree). The tree builds there with Debian 13's compiler, the session level runs there whole, and
# the desktops Debian 12 does not have run their own scripts. Root only (mmdebstrap, chroot,
# mounts); elsewhere the tests skip.
set(SMOKEDRIFT_FIELD_ROOT bash ${CMAKE_CURRENT_LIST_DIR}/root.sh)
# The root's build of this tree, beside the other builds and bound into the root as /build.
set(SMOKEDRIFT_FIELD_BUILD ${PROJECT_SOURCE_DIR}/build-field)
set(SMOKEDRIFT_FIELD_ENV SMOKEDRIFT_FIELD_BUILD=${SMOKEDRIFT_FIELD_BUILD})
set(SMOKEDRIFT_FIELD_SCRIPTS /src/smokedrift/tests)

# The root first and at once: downloading it takes minutes, which the other levels' tests overlap
# (a high cost makes CTest start it before them).
add_test(NAME field.root COMMAND ${SMOKEDRIFT_FIELD_ROOT} build)
set_tests_properties(field.root PROPERTIES FIXTURES_SETUP field_root COST 100000 TIMEOUT 2700)

add_test(NAME field.build COMMAND ${SMOKEDRIFT_FIELD_ROOT} run bash ${SMOKEDRIFT_FIELD_SCRIPTS}/field/build.sh)
set_tests_properties(field.build PROPERTIES FIXTURES_REQUIRED field_root FIXTURES_SETUP field_build
                     COST 90000 TIMEOUT 1800)

# The session level as it is, against Debian 13's sway, mutter, GNOME Shell, KWin and Xvfb.
add_test(NAME field.session COMMAND ${SMOKEDRIFT_FIELD_ROOT} run
         ctest --test-dir /build -L session -j 2 --output-on-failure --timeout 300)
set_tests_properties(field.session PROPERTIES FIXTURES_REQUIRED "field_root;field_build" TIMEOUT 1800)

# Desktops and players the session level does not reach: each case is a script of tests/field and
# its arguments after the saver.
foreach(case "wlroots sway" "wlroots labwc" "plasma" "xscreensaver" "mpv_x11")
  string(REPLACE " " ";" args "${case}")
  list(POP_FRONT args script)
  string(REPLACE " " "_" name "${case}")
  add_test(NAME field.${name} COMMAND ${SMOKEDRIFT_FIELD_ROOT} run
           bash ${SMOKEDRIFT_FIELD_SCRIPTS}/field/${script}.sh /build/smokedrift - ${args})
  set_tests_properties(field.${name} PROPERTIES FIXTURES_REQUIRED "field_root;field_build" TIMEOUT 300)
endforeach()

# packaging/debian with Debian 13's debhelper and lintian, on the committed tree.
add_test(NAME field.debian_package COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package.sh)
set_tests_properties(field.debian_package PROPERTIES FIXTURES_REQUIRED field_root TIMEOUT 1800)

get_property(SMOKEDRIFT_FIELD_TESTS DIRECTORY PROPERTY TESTS)
list(FILTER SMOKEDRIFT_FIELD_TESTS INCLUDE REGEX "^field\\.")
set_tests_properties(${SMOKEDRIFT_FIELD_TESTS} PROPERTIES LABELS field SKIP_RETURN_CODE 77
                     ENVIRONMENT "${SMOKEDRIFT_FIELD_ENV}")
