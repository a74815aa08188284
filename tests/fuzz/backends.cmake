# Fuzz targets of the backends' input: X events and Wayland input events to window messages.
smokedrift_fuzz_target(x11_input
  SOURCES fuzz_x11_input.cpp ${PROJECT_SOURCE_DIR}/src/platform/x11/x11_input.cpp
          ${PROJECT_SOURCE_DIR}/src/platform/win32/virtual_keys.cpp)
smokedrift_fuzz_target(wl_input
  SOURCES fuzz_wl_input.cpp
  LIBS smokedrift_saver smokedrift_platform_posix smokedrift_win32 smokedrift_offscreen)
