# Fuzz target of the GNOME idle source's reading of bus messages (no bus linked).
smokedrift_fuzz_target(mutter_idle
  SOURCES fuzz_mutter_idle.cpp ${PROJECT_SOURCE_DIR}/src/idle/mutter_idle_state.cpp)
