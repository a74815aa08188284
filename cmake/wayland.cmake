# Wayland: client library, EGL window glue and the protocol code, generated at build time with
# wayland-scanner from the protocol descriptions Debian packages ship.
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
pkg_get_variable(WAYLAND_SCANNER_FROM_PC wayland-scanner wayland_scanner)
find_program(WAYLAND_SCANNER NAMES wayland-scanner HINTS "${WAYLAND_SCANNER_FROM_PC}" REQUIRED)
if(NOT WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-protocols not found (Debian: wayland-protocols)")
endif()

# Layer shell (one surface per output above every window, on wlroots compositors and KWin) needs
# wlroots' protocol description. AUTO uses it when found; ON fails without it; OFF leaves it out
# (full-screen xdg windows only). Looked for where distributions put it: a path given with
# -DSMOKEDRIFT_LAYER_SHELL_XML, the wlr-protocols package's pkg-config module (Arch, Fedora,
# Alpine), the data folders under the install prefixes, and Debian 12's Rust crate, the one
# package there that carries it.
set(SMOKEDRIFT_LAYER_SHELL AUTO CACHE STRING "Build the layer-shell saver surfaces: ON, OFF or AUTO (when its protocol XML is found)")
set_property(CACHE SMOKEDRIFT_LAYER_SHELL PROPERTY STRINGS AUTO ON OFF)
if(NOT SMOKEDRIFT_LAYER_SHELL STREQUAL OFF AND NOT SMOKEDRIFT_LAYER_SHELL_XML)
  pkg_get_variable(SMOKEDRIFT_WLR_PROTOCOLS_PC wlr-protocols pkgdatadir)
  if(SMOKEDRIFT_WLR_PROTOCOLS_PC)
    set(SMOKEDRIFT_WLR_PROTOCOLS_PC "${SMOKEDRIFT_WLR_PROTOCOLS_PC}/unstable")
  endif()
  file(GLOB SMOKEDRIFT_WLR_PROTOCOL_CRATES /usr/share/cargo/registry/wayland-protocols-*/wlr-protocols/unstable)
  find_file(SMOKEDRIFT_LAYER_SHELL_XML wlr-layer-shell-unstable-v1.xml
    HINTS ${SMOKEDRIFT_WLR_PROTOCOLS_PC}
    PATHS ${CMAKE_PREFIX_PATH} ${CMAKE_INSTALL_PREFIX} ${CMAKE_SYSTEM_PREFIX_PATH} ${SMOKEDRIFT_WLR_PROTOCOL_CRATES}
    PATH_SUFFIXES share/wlr-protocols/unstable
    DOC "wlroots' wlr-layer-shell-unstable-v1.xml")
endif()

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
if(SMOKEDRIFT_LAYER_SHELL STREQUAL OFF)
  set(SMOKEDRIFT_LAYER_SHELL_PROTOCOL "")
  message(STATUS "Wayland: layer shell off (SMOKEDRIFT_LAYER_SHELL=OFF): full-screen xdg windows only")
elseif(SMOKEDRIFT_LAYER_SHELL_XML AND EXISTS "${SMOKEDRIFT_LAYER_SHELL_XML}")
  set(SMOKEDRIFT_LAYER_SHELL_PROTOCOL "${SMOKEDRIFT_LAYER_SHELL_XML}")
  message(STATUS "Wayland: layer shell from ${SMOKEDRIFT_LAYER_SHELL_XML}")
  # The tests' virtual pointer speaks another wlroots protocol, found beside it where it is there.
  get_filename_component(SMOKEDRIFT_WLR_FOLDER "${SMOKEDRIFT_LAYER_SHELL_XML}" DIRECTORY)
  if(EXISTS "${SMOKEDRIFT_WLR_FOLDER}/wlr-virtual-pointer-unstable-v1.xml")
    set(WLR_PROTOCOLS_DIR "${SMOKEDRIFT_WLR_FOLDER}")
  endif()
elseif(SMOKEDRIFT_LAYER_SHELL STREQUAL ON)
  message(FATAL_ERROR "SMOKEDRIFT_LAYER_SHELL=ON, but wlr-layer-shell-unstable-v1.xml was not found "
                      "(SMOKEDRIFT_LAYER_SHELL_XML: ${SMOKEDRIFT_LAYER_SHELL_XML}). Install wlr-protocols "
                      "(Debian 12: librust-wayland-protocols-dev), give its path with "
                      "-DSMOKEDRIFT_LAYER_SHELL_XML=..., or build with -DSMOKEDRIFT_LAYER_SHELL=OFF")
else()
  set(SMOKEDRIFT_LAYER_SHELL_PROTOCOL "")
  message(WARNING "Wayland: no wlr-layer-shell-unstable-v1.xml found: the saver is built without layer shell "
                  "(full-screen xdg windows only). Install wlr-protocols (Debian 12: librust-wayland-protocols-dev) "
                  "or give -DSMOKEDRIFT_LAYER_SHELL_XML=PATH; -DSMOKEDRIFT_LAYER_SHELL=ON makes this an error")
endif()
