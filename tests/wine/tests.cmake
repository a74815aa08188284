# The Windows screen saver under Wine + Xvfb. The .scr and its helpers come from the windows preset
# (build-windows); one Wine prefix serves the whole run, made before the first test and stopped
# after the last.
set(SMOKEDRIFT_WINE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SMOKEDRIFT_WINE_ENV
  "SMOKEDRIFT_WINDOWS_BUILD=${PROJECT_SOURCE_DIR}/build-windows"
  "SMOKEDRIFT_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix"
  "SMOKEDRIFT_VERSION=${PROJECT_VERSION}" "${SMOKEDRIFT_MISSING_INPUTS_ENV}")

add_test(NAME wine.prefix COMMAND bash ${SMOKEDRIFT_WINE_DIR}/prefix.sh setup)
add_test(NAME wine.prefix_cleanup COMMAND bash ${SMOKEDRIFT_WINE_DIR}/prefix.sh cleanup)
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
set_tests_properties(wine.prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix)
set_tests_properties(wine.prefix wine.prefix_cleanup PROPERTIES LABELS wine ENVIRONMENT "${SMOKEDRIFT_WINE_ENV}"
                     SKIP_RETURN_CODE 77)

# These read the Windows build's files and start no Wine.
foreach(name imports zip release_files)
  add_test(NAME wine.${name} COMMAND bash ${SMOKEDRIFT_WINE_DIR}/${name}.sh)
  set_tests_properties(wine.${name} PROPERTIES LABELS wine ENVIRONMENT "${SMOKEDRIFT_WINE_ENV}" SKIP_RETURN_CODE 77)
endforeach()

file(GLOB SMOKEDRIFT_WINE_SCRIPTS CONFIGURE_DEPENDS ${SMOKEDRIFT_WINE_DIR}/*.sh)
list(FILTER SMOKEDRIFT_WINE_SCRIPTS EXCLUDE REGEX "/(lib|prefix|imports|zip|release_files)\\.sh$")
foreach(script ${SMOKEDRIFT_WINE_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME wine.${name} COMMAND bash ${script})
  # One Wine server for all: the tests take turns, as their pointers and windows would meet, and
  # run alone, as a Wine start competing with a parallel build of frames can take a minute.
  set_tests_properties(wine.${name} PROPERTIES LABELS wine TIMEOUT 400 RUN_SERIAL TRUE
    FIXTURES_REQUIRED wine_prefix ENVIRONMENT "${SMOKEDRIFT_WINE_ENV}" SKIP_RETURN_CODE 77)
endforeach()
