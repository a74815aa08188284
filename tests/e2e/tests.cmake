# End-to-end tests: the built saver under a private Xvfb per test, driven with xdotool.
foreach(script full_screen_draws input_closes single_instance preview configure_dialog stop_and_failures faults no_writes
               full_destination)
  add_test(NAME e2e.${script}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:smokedrift>)
  set_tests_properties(e2e.${script} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
# Mounting the full file system needs root; elsewhere that test reports itself skipped.
set_tests_properties(e2e.full_destination PROPERTIES SKIP_RETURN_CODE 77)

# --window: the close request a window manager sends, from a helper (Xvfb has no window manager).
add_executable(e2e_send_close ${CMAKE_CURRENT_LIST_DIR}/send_close.c)
target_link_libraries(e2e_send_close PRIVATE X11::X11)
add_test(NAME e2e.own_window
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/own_window.sh $<TARGET_FILE:smokedrift> $<TARGET_FILE:e2e_send_close>)
set_tests_properties(e2e.own_window PROPERTIES LABELS e2e TIMEOUT 180)
