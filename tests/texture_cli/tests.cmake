# The texture writer as a user runs it: exit codes and messages of the real binary. It draws
# through EGL, so it belongs with the render level.
add_test(NAME texture_writer_cli
         COMMAND ${CMAKE_COMMAND} -DBIN=$<TARGET_FILE:smokedrift> -DWORK=${CMAKE_CURRENT_BINARY_DIR}/texture_cli
                 -P ${CMAKE_CURRENT_LIST_DIR}/check_texture_cli.cmake)
set_tests_properties(texture_writer_cli PROPERTIES LABELS render ENVIRONMENT "${SMOKEDRIFT_DRIVER_ENV}")
