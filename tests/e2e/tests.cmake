# End-to-end tests: the built saver under a private Xvfb per test, driven with xdotool. Each script
# gets the saver, a helper that sends the close request a window manager would (Xvfb has none) and
# a preloadable swap counter and a helper that maps an override-redirect popup.
add_executable(e2e_send_close ${CMAKE_CURRENT_LIST_DIR}/send_close.c)
target_link_libraries(e2e_send_close PRIVATE X11::X11)
add_executable(e2e_map_popup ${CMAKE_CURRENT_LIST_DIR}/map_popup.c)
target_link_libraries(e2e_map_popup PRIVATE X11::X11)
# Preloaded to count the saver's buffer swaps.
add_library(e2e_swap_count MODULE ${CMAKE_CURRENT_LIST_DIR}/swap_count.c)
target_link_libraries(e2e_swap_count PRIVATE ${CMAKE_DL_LIBS})

foreach(script full_screen_draws input_closes single_instance preview configure_dialog stop_and_failures faults no_writes
               full_destination own_window resize no_opengl hidden_window
               screen_resize keep_on_top multi_screen root_under_wm render_scale)
  add_test(NAME e2e.${script}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:smokedrift> $<TARGET_FILE:e2e_send_close>
                   $<TARGET_FILE:e2e_swap_count> $<TARGET_FILE:e2e_map_popup>)
  set_tests_properties(e2e.${script} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
# Another client's keyboard and pointer grab, held by a helper of our own.
add_executable(e2e_grab_input ${CMAKE_CURRENT_LIST_DIR}/grab_input.c)
target_link_libraries(e2e_grab_input PRIVATE X11::X11 X11::Xi)
add_test(NAME e2e.foreign_grab
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/foreign_grab.sh $<TARGET_FILE:smokedrift> $<TARGET_FILE:e2e_send_close>
                 $<TARGET_FILE:e2e_swap_count> $<TARGET_FILE:e2e_map_popup> $<TARGET_FILE:e2e_grab_input>)
set_tests_properties(e2e.foreign_grab PROPERTIES LABELS e2e TIMEOUT 180)
# Mounting the full file system needs root; elsewhere that test reports itself skipped.
set_tests_properties(e2e.full_destination PROPERTIES SKIP_RETURN_CODE 77)
