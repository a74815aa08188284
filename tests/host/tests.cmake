# Host and saver-procedure tests on the product's Win32 emulation over the scripted window system:
# no display, the engine drawing into the recording GL.
include(${PROJECT_SOURCE_DIR}/tests/support/scripted.cmake)
file(GLOB SMOKEDRIFT_HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(host_tests ${SMOKEDRIFT_HOST_TESTS} $<TARGET_OBJECTS:smokedrift_engine>)
target_include_directories(host_tests PRIVATE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR}/../support)
target_compile_options(host_tests PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(host_tests PRIVATE
  smokedrift_saver smokedrift_scripted smokedrift_win32 smokedrift_recording_gl
  GTest::gtest GTest::gtest_main)
gtest_discover_tests(host_tests PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
