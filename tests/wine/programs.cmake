# Small Windows programs and libraries the Wine tests drive the saver with. Never shipped.
set(SMOKEDRIFT_WINE_TEST_DIR ${PROJECT_SOURCE_DIR}/tests/wine)

add_executable(set_cursor ${SMOKEDRIFT_WINE_TEST_DIR}/set_cursor.c)
add_executable(preview_parent ${SMOKEDRIFT_WINE_TEST_DIR}/preview_parent.c)
foreach(t set_cursor preview_parent)
  target_link_options(${t} PRIVATE -static)
  set_target_properties(${t} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/wine-tests)
endforeach()

# Exports keep their plain names (--kill-at), as the saver looks them up by name.
function(smokedrift_test_dll target source output)
  add_library(${target} SHARED ${SMOKEDRIFT_WINE_TEST_DIR}/${source})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output} SUFFIX ""
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/wine-tests/${target}
                        ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/wine-tests/${target}/lib)
  target_link_options(${target} PRIVATE -static -Wl,--kill-at)
endfunction()
smokedrift_test_dll(password_cpl password_cpl.c PASSWORD.CPL)
smokedrift_test_dll(password_cpl_empty password_cpl_empty.c PASSWORD.CPL)
smokedrift_test_dll(mpr_dll mpr_dll.c mpr.dll)
