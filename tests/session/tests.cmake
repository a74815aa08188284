# The idle watcher (smokedrift --idle): the real binary under private compositors (sway, KWin),
# with a stand-in video player of ours (idle_inhibitor.c) that holds an idle inhibitor. Its states
# and its choice of source are unit tests (tests/unit/idle).
if(NOT TARGET smokedrift_idle)
  message(STATUS "Session tests: no idle watcher in this build, not registered")
  return()
endif()

add_executable(session_idle_inhibitor ${CMAKE_CURRENT_LIST_DIR}/idle_inhibitor.c)
smokedrift_wayland_protocol(session_idle_inhibitor ${SMOKEDRIFT_XDG_SHELL_XML} session-xdg-shell)
smokedrift_wayland_protocol(session_idle_inhibitor
  ${WAYLAND_PROTOCOLS_DIR}/unstable/idle-inhibit/idle-inhibit-unstable-v1.xml idle-inhibit-unstable-v1)
target_compile_options(session_idle_inhibitor PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(session_idle_inhibitor PRIVATE PkgConfig::WAYLAND)

foreach(script refusals sway_idle sway_inhibitor sway_stop kwin_idle squatters)
  add_test(NAME session.${script}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:smokedrift> -
                   $<TARGET_FILE:session_idle_inhibitor>)
  set_tests_properties(session.${script} PROPERTIES LABELS session TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()

# GNOME (mutter), in a file of its own.
include(${CMAKE_CURRENT_LIST_DIR}/gnome.cmake)
# Players' inhibitions that the idle sources do not carry.
include(${CMAKE_CURRENT_LIST_DIR}/inhibit.cmake)
# The X server's idle time, under a private Xvfb.
include(${CMAKE_CURRENT_LIST_DIR}/x11.cmake)
# The desktop's own timers read at start. Each case: the desktop, the timer's value in seconds
# (GNOME's idle-delay, the X server's xset s, Plasma 6's screen-off), the warning lines expected with
# --idle 5.
foreach(case "gnome 2 1" "gnome 0 0" "gnome_mute_x 0 0" "x11 3 1" "kde 3 1")
  string(REPLACE " " ";" args "${case}")
  list(GET args 0 desktop)
  list(GET args 1 value)
  add_test(NAME session.desktop_timers_${desktop}_${value}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/desktop_timers.sh $<TARGET_FILE:smokedrift> - ${args})
  set_tests_properties(session.desktop_timers_${desktop}_${value} PROPERTIES LABELS session TIMEOUT 120 SKIP_RETURN_CODE 77)
endforeach()
# The watcher's control interface through smokedrift --status, --activate, --pause, --resume and
# --watch (control.sh), under a private sway and a private Xvfb.
foreach(session sway x11)
  add_test(NAME session.control_${session}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/control.sh $<TARGET_FILE:smokedrift> - ${session})
  set_tests_properties(session.control_${session} PROPERTIES LABELS session TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()
# The real Plasma services (KWin, PowerDevil, upowerd; plasma_lib.sh): each case of plasma.sh.
foreach(case inhibit late locked)
  add_test(NAME session.plasma_${case}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/plasma.sh $<TARGET_FILE:smokedrift> - ${case})
  set_tests_properties(session.plasma_${case} PROPERTIES LABELS session TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()
