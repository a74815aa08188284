# Inhibitions the idle source does not carry (inhibit.sh): each way a player asks, under a
# private sway or Xvfb, with private buses and stand-ins where no real service runs here.
foreach(case "screensaver sway" "screensaver x11" "logind" "xdg_screensaver" "xset_off" "plasma"
        "plasma_late" "plasma_locked" "logind_locked" "mute_system_bus")
  string(REPLACE " " ";" args "${case}")
  string(REPLACE " " "_" name "${case}")
  add_test(NAME session.inhibit_${name} COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/inhibit.sh $<TARGET_FILE:smokedrift> - ${args})
  set_tests_properties(session.inhibit_${name} PROPERTIES LABELS session TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()
