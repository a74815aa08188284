# End-to-end tests: the built saver under a private Xvfb per test, driven with xdotool. Each script
# gets the saver and a helper that sends the close request a window manager would (Xvfb has none).
add_executable(e2e_send_close ${CMAKE_CURRENT_LIST_DIR}/send_close.c)
target_link_libraries(e2e_send_close PRIVATE X11::X11)

foreach(script full_screen_draws input_closes single_instance preview configure_dialog stop_and_failures faults no_writes
               full_destination own_window resize no_opengl)
  add_test(NAME e2e.${script}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:smokedrift> $<TARGET_FILE:e2e_send_close>)
  set_tests_properties(e2e.${script} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
# Mounting the full file system needs root; elsewhere that test reports itself skipped.
set_tests_properties(e2e.full_destination PROPERTIES SKIP_RETURN_CODE 77)
