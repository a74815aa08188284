# The Wayland backend driven without a compositor: what the compositor and the processes of a run
# tell it, straight into its listeners and books. It links the product's backends (and with them
# real OpenGL), so it cannot share the unit tests' recording GL.
add_executable(backend_tests ${CMAKE_CURRENT_LIST_DIR}/wl_books_test.cpp)
target_include_directories(backend_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_options(backend_tests PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(backend_tests PRIVATE
  smokedrift_saver smokedrift_outputs smokedrift_platform_posix smokedrift_win32 smokedrift_offscreen
  GTest::gtest GTest::gtest_main)
gtest_discover_tests(backend_tests PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
