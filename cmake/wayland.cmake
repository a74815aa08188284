# Wayland: client library, EGL window glue and the protocol code, generated at build time with
# wayland-scanner from the protocol descriptions Debian packages ship.
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
pkg_get_variable(WAYLAND_SCANNER_FROM_PC wayland-scanner wayland_scanner)
find_program(WAYLAND_SCANNER NAMES wayland-scanner HINTS "${WAYLAND_SCANNER_FROM_PC}" REQUIRED)
if(NOT WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-protocols not found (Debian: wayland-protocols)")
endif()

# The wlroots protocols live in no package of their own on Debian 12; other distributions put
# them in a wlr-protocols data folder.
file(GLOB SMOKEDRIFT_WLR_PROTOCOL_HINTS
  /usr/share/cargo/registry/wayland-protocols-*/wlr-protocols/unstable)
find_path(WLR_PROTOCOLS_DIR wlr-layer-shell-unstable-v1.xml
  HINTS ${SMOKEDRIFT_WLR_PROTOCOL_HINTS}
  PATHS /usr/share/wlr-protocols/unstable /usr/local/share/wlr-protocols/unstable
  NO_DEFAULT_PATH)

set(SMOKEDRIFT_PROTOCOL_DIR ${CMAKE_BINARY_DIR}/protocols)
file(MAKE_DIRECTORY ${SMOKEDRIFT_PROTOCOL_DIR})

# smokedrift_wayland_protocol(TARGET XML NAME): NAME-client.h and NAME.c from XML, compiled into TARGET.
function(smokedrift_wayland_protocol target xml name)
  set(header ${SMOKEDRIFT_PROTOCOL_DIR}/${name}-client.h)
  set(code ${SMOKEDRIFT_PROTOCOL_DIR}/${name}.c)
  # A C header: an argument named "namespace" (layer shell's) is renamed for C++.
  add_custom_command(OUTPUT ${header}
    COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
    COMMAND sed -i -e "s/\\bnamespace\\b/name_space/g" ${header}
    DEPENDS ${xml} VERBATIM)
  add_custom_command(OUTPUT ${code} COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code} DEPENDS ${xml})
  target_sources(${target} PRIVATE ${header} ${code})
  target_include_directories(${target} PUBLIC ${SMOKEDRIFT_PROTOCOL_DIR})
endfunction()

set(SMOKEDRIFT_XDG_SHELL_XML ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml)
if(WLR_PROTOCOLS_DIR)
  set(SMOKEDRIFT_LAYER_SHELL_XML ${WLR_PROTOCOLS_DIR}/wlr-layer-shell-unstable-v1.xml)
  message(STATUS "Wayland: layer shell from ${SMOKEDRIFT_LAYER_SHELL_XML}")
else()
  set(SMOKEDRIFT_LAYER_SHELL_XML "")
  message(STATUS "Wayland: no wlr-layer-shell-unstable-v1.xml found: the saver is built without layer shell "
                 "(full-screen xdg windows only). Debian: librust-wayland-protocols-dev")
endif()
