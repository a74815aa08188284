# Fuzz targets of the host's dispatch, the Linux argument handling and the noise update.
include(${PROJECT_SOURCE_DIR}/tests/support/scripted.cmake)
smokedrift_fuzz_target(command_tail
  SOURCES fuzz_command_tail.cpp smoke_stand_in.cpp
          "$<FILTER:$<TARGET_OBJECTS:smokedrift_engine>,EXCLUDE,smoke_texture>"
  LIBS smokedrift_saver smokedrift_scripted smokedrift_win32 smokedrift_fuzz_gl)
smokedrift_fuzz_target(xscreensaver_args
  SOURCES fuzz_xscreensaver_args.cpp ${PROJECT_SOURCE_DIR}/src/main/xscreensaver_args.cpp)
smokedrift_fuzz_target(update_noise
  SOURCES fuzz_update_noise.cpp $<TARGET_OBJECTS:smokedrift_engine>
  LIBS smokedrift_fuzz_gl)
