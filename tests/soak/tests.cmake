# Long runs on simulated time: days of animation in seconds, no display needed.
add_executable(soak_tests ${CMAKE_CURRENT_LIST_DIR}/long_run_test.cpp $<TARGET_OBJECTS:smokedrift_engine>)
target_include_directories(soak_tests PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_options(soak_tests PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(soak_tests PRIVATE smokedrift_recording_gl GTest::gtest GTest::gtest_main)
gtest_discover_tests(soak_tests PROPERTIES LABELS soak TIMEOUT 600 DISCOVERY_TIMEOUT 60)
