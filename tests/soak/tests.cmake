# Long runs on simulated time: days of animation in seconds, no display needed.
add_executable(soak_tests ${CMAKE_CURRENT_LIST_DIR}/long_run_test.cpp $<TARGET_OBJECTS:smokedrift_engine>)
target_include_directories(soak_tests PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_options(soak_tests PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(soak_tests PRIVATE smokedrift_recording_gl GTest::gtest GTest::gtest_main)
gtest_discover_tests(soak_tests PROPERTIES LABELS soak TIMEOUT 600 DISCOVERY_TIMEOUT 60)

# The feedback cycle on the real driver, on simulated time. Not in the sanitizer build either:
# its quarantine holds freed memory by design.
if(TARGET smokedrift_offscreen AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  add_executable(soak_gl_tests ${CMAKE_CURRENT_LIST_DIR}/feedback_memory_test.cpp)
  target_include_directories(soak_gl_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(soak_gl_tests PRIVATE ${SMOKEDRIFT_WARNINGS})
  target_link_libraries(soak_gl_tests PRIVATE smokedrift_offscreen GTest::gtest GTest::gtest_main)
  # Rasteriser threads whatever the machine's core count: the fault needed them.
  gtest_discover_tests(soak_gl_tests PROPERTIES LABELS soak TIMEOUT 600 ENVIRONMENT "LP_NUM_THREADS=2"
                       DISCOVERY_TIMEOUT 60)
endif()

# Real time: the full-screen saver under Xvfb with its resident memory sampled. Not in the
# sanitizer build, whose quarantine makes memory grow by design.
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  add_library(smokedrift_heap_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/heap_probe.c)
  target_compile_options(smokedrift_heap_probe PRIVATE ${SMOKEDRIFT_WARNINGS})
  add_test(NAME soak.realtime_memory
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/realtime_memory.sh $<TARGET_FILE:smokedrift>
                   $<TARGET_FILE:smokedrift_heap_probe>)
  set_tests_properties(soak.realtime_memory PROPERTIES LABELS soak TIMEOUT 900)
endif()
