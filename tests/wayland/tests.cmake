# Wayland tests: the built saver under a private headless sway (or weston) per test, screenshots
# with grim, keys with wtype and a virtual pointer of our own (virtual_pointer.c).

# Without the wlroots protocol descriptions the pointer cannot be built; the tests that need it
# report themselves skipped when given "-".
set(SMOKEDRIFT_WL_POINTER -)
if(WLR_PROTOCOLS_DIR)
  add_executable(wayland_virtual_pointer ${CMAKE_CURRENT_LIST_DIR}/virtual_pointer.c)
  smokedrift_wayland_protocol(wayland_virtual_pointer ${WLR_PROTOCOLS_DIR}/wlr-virtual-pointer-unstable-v1.xml
                              wlr-virtual-pointer-unstable-v1)
  target_compile_options(wayland_virtual_pointer PRIVATE ${SMOKEDRIFT_WARNINGS})
  target_link_libraries(wayland_virtual_pointer PRIVATE PkgConfig::WAYLAND)
  set(SMOKEDRIFT_WL_POINTER $<TARGET_FILE:wayland_virtual_pointer>)
endif()

# An application with a right-click menu (an xdg_popup with a grab).
add_executable(wayland_popup_menu ${CMAKE_CURRENT_LIST_DIR}/popup_menu.c)
smokedrift_wayland_protocol(wayland_popup_menu ${SMOKEDRIFT_XDG_SHELL_XML} xdg-shell-menu)
# Its many listeners ignore most of what they are told.
target_compile_options(wayland_popup_menu PRIVATE ${SMOKEDRIFT_WARNINGS} -Wno-unused-parameter)
target_link_libraries(wayland_popup_menu PRIVATE PkgConfig::WAYLAND)

foreach(script two_outputs input_closes outputs_change swayidle history_fallback weston_xdg refusals
               single_run keyboard_leaves scale_change many_outputs)
  add_test(NAME wayland.${script}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:smokedrift> ${SMOKEDRIFT_WL_POINTER})
  set_tests_properties(wayland.${script} PROPERTIES LABELS wayland TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()

add_test(NAME wayland.menu_open
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/menu_open.sh $<TARGET_FILE:smokedrift> ${SMOKEDRIFT_WL_POINTER}
                 $<TARGET_FILE:wayland_popup_menu>)
set_tests_properties(wayland.menu_open PROPERTIES LABELS wayland TIMEOUT 180 SKIP_RETURN_CODE 77)
