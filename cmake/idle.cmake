# The idle watcher (smokedrift --idle): sleeps on the session's idle source and runs the saver as
# a child. Its sources speak Wayland (ext-idle-notify, KDE idle), D-Bus (sd-bus) and Xlib
# (XSync, X-Resource: it sees saver suspensions without libXss); it holds no window and no GL
# context. At start it reads the desktop's own blank and lock times: GNOME's through GSettings
# (GIO), the X server's saver and DPMS (Xext).
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
find_package(X11 REQUIRED COMPONENTS Xext XRes)

# KDE's idle protocol ships with plasma-wayland-protocols (not in wayland-protocols), which
# gives its folder in a CMake package.
find_package(PlasmaWaylandProtocols REQUIRED)

file(GLOB SMOKEDRIFT_IDLE_SOURCES CONFIGURE_DEPENDS src/idle/*.cpp)
add_library(smokedrift_idle STATIC ${SMOKEDRIFT_IDLE_SOURCES})
target_include_directories(smokedrift_idle PUBLIC src)
target_compile_options(smokedrift_idle PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(smokedrift_idle PUBLIC smokedrift_session_lock PkgConfig::SYSTEMD PkgConfig::GIO PkgConfig::WAYLAND X11::X11 X11::Xext X11::XRes)
smokedrift_wayland_protocol(smokedrift_idle
  ${WAYLAND_PROTOCOLS_DIR}/staging/ext-idle-notify/ext-idle-notify-v1.xml ext-idle-notify-v1)
smokedrift_wayland_protocol(smokedrift_idle ${PLASMA_WAYLAND_PROTOCOLS_DIR}/idle.xml kde-idle)
