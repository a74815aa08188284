# The X11 idle source's alarm logic.
smokedrift_fuzz_target(x11_idle_logic
  SOURCES fuzz_x11_idle_logic.cpp ${PROJECT_SOURCE_DIR}/src/idle/x11_idle_logic.cpp)
