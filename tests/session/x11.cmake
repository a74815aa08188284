# The idle watcher on X11, under a private Xvfb, with a stand-in video player of ours: it suspends
# the saver as players do, with libXss, which only it links.
find_package(X11 REQUIRED COMPONENTS Xss)
add_executable(session_x11_player ${CMAKE_CURRENT_LIST_DIR}/x11_player.c)
target_compile_options(session_x11_player PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(session_x11_player PRIVATE X11::X11 X11::Xss)
add_test(NAME session.x11_idle
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/x11_idle.sh $<TARGET_FILE:smokedrift> $<TARGET_FILE:session_x11_player>)
set_tests_properties(session.x11_idle PROPERTIES LABELS session TIMEOUT 180)
# How it was started (a signal disposition left to it, another screen of the same server).
add_test(NAME session.x11_started COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/x11_started.sh $<TARGET_FILE:smokedrift>)
set_tests_properties(session.x11_started PROPERTIES LABELS session TIMEOUT 180)
