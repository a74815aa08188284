# Counts heap allocations in a binary of its own, since it replaces the global operator new.
add_executable(alloc_tests ${CMAKE_CURRENT_LIST_DIR}/frame_allocation_test.cpp $<TARGET_OBJECTS:smokedrift_engine>)
target_include_directories(alloc_tests PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_options(alloc_tests PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(alloc_tests PRIVATE smokedrift_recording_gl GTest::gtest GTest::gtest_main)
gtest_discover_tests(alloc_tests PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
