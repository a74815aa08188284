# GNOME: the idle watcher under mutter (headless on Wayland, or on Xvfb) with its own session bus,
# a stand-in session manager (session_manager.py), keys through mutter's RemoteDesktop
# (remote_keyboard.py) or xdotool. Each case: script, then its arguments after the program.
foreach(case "idle" "inhibited mutter" "inhibited watcher" "inhibited manager_leaves" "session_gone" "x11"
             "replaced")
  string(REPLACE " " ";" args "${case}")
  list(POP_FRONT args script)
  string(REPLACE " " "_by_" name "${case}")
  add_test(NAME session.gnome_${name}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/gnome_${script}.sh $<TARGET_FILE:smokedrift> - ${args})
  set_tests_properties(session.gnome_${name} PROPERTIES LABELS session TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()
# A real GNOME Shell session (slow to start): one run for a sequence of cases.
add_test(NAME session.gnome_shell COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/gnome_shell.sh $<TARGET_FILE:smokedrift> -)
set_tests_properties(session.gnome_shell PROPERTIES LABELS session TIMEOUT 300 SKIP_RETURN_CODE 77)
