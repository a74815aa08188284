# The saver host on POSIX: host + saver procedure compiled against our Win32 subset, over the
# Win32 emulation with the X11 and Wayland backends (the host tests put a scripted one under it).
find_package(X11 REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS GLX)

file(GLOB SMOKEDRIFT_SAVER_SOURCES CONFIGURE_DEPENDS src/host/*.cpp src/saver/*.cpp)
# The dialog templates the resource script gives the .scr, from the same identifiers and words.
configure_file(res/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/res/version.h @ONLY)
set_property(SOURCE src/saver/configure_dialog_resources.cpp APPEND PROPERTY INCLUDE_DIRECTORIES
  ${PROJECT_SOURCE_DIR}/res ${CMAKE_CURRENT_BINARY_DIR}/res)
add_library(smokedrift_saver STATIC ${SMOKEDRIFT_SAVER_SOURCES})
target_include_directories(smokedrift_saver PUBLIC src)
target_compile_options(smokedrift_saver PRIVATE ${SMOKEDRIFT_WARNINGS})

# The one Win32 emulation: window table, message queue, timers, dispatch. It draws on whichever
# window system a backend gives it (platform/win32/window_backend.h).
add_library(smokedrift_win32 STATIC
  src/platform/win32/win32_windows.cpp src/platform/win32/win32_messages.cpp src/platform/win32/message_queue.cpp
  src/platform/win32/posix_process.cpp)
target_include_directories(smokedrift_win32 PUBLIC src)
target_compile_options(smokedrift_win32 PRIVATE ${SMOKEDRIFT_WARNINGS})

# One process per session and purpose, children that die with their parent, and the session's
# environment read once, for the entry, the idle watcher and the Wayland saver alike.
add_library(smokedrift_session_lock STATIC src/base/session_lock.cpp src/base/child_process.cpp
  src/base/session_environment.cpp)
target_include_directories(smokedrift_session_lock PUBLIC src)
target_compile_options(smokedrift_session_lock PRIVATE ${SMOKEDRIFT_WARNINGS})

# The real backends: X11 + GLX and Wayland + EGL in one library, the window system chosen at run
# time (window_systems.cpp), with the Win32 process services of the product.
include(cmake/wayland.cmake)
# Every backend's folder is found here: a new one needs no line, only its libraries below.
file(GLOB SMOKEDRIFT_POSIX_SOURCES CONFIGURE_DEPENDS src/platform/*/*.cpp)
list(FILTER SMOKEDRIFT_POSIX_SOURCES EXCLUDE REGEX "/src/platform/win32/")
add_library(smokedrift_platform_posix STATIC ${SMOKEDRIFT_POSIX_SOURCES}
  src/platform/window_systems.cpp src/platform/win32/posix_resources.cpp src/platform/win32/virtual_keys.cpp src/platform/win32/win32_process.cpp)
target_include_directories(smokedrift_platform_posix PUBLIC src)
target_compile_options(smokedrift_platform_posix PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(smokedrift_platform_posix PUBLIC smokedrift_win32 smokedrift_session_lock
  X11::X11 X11::Xi OpenGL::GLX OpenGL::GL OpenGL::EGL PkgConfig::WAYLAND)
smokedrift_wayland_protocol(smokedrift_platform_posix ${SMOKEDRIFT_XDG_SHELL_XML} xdg-shell)
if(SMOKEDRIFT_LAYER_SHELL_PROTOCOL)
  smokedrift_wayland_protocol(smokedrift_platform_posix ${SMOKEDRIFT_LAYER_SHELL_PROTOCOL} wlr-layer-shell-unstable-v1)
  target_compile_definitions(smokedrift_platform_posix PRIVATE SMOKEDRIFT_LAYER_SHELL=1)
endif()

# The Wayland saver's run above the backends: a process per output, each told its output, and
# the process that watches them (src/outputs). It lists the outputs over the Wayland backend's
# connection; the backend knows nothing of it.
file(GLOB SMOKEDRIFT_OUTPUTS_SOURCES CONFIGURE_DEPENDS src/outputs/*.cpp)
add_library(smokedrift_outputs STATIC ${SMOKEDRIFT_OUTPUTS_SOURCES})
target_include_directories(smokedrift_outputs PUBLIC src)
target_compile_options(smokedrift_outputs PRIVATE ${SMOKEDRIFT_WARNINGS})
target_link_libraries(smokedrift_outputs PUBLIC smokedrift_platform_posix smokedrift_session_lock)

include(cmake/idle.cmake)

add_executable(smokedrift src/main/main_posix.cpp src/main/command_line.cpp src/main/xscreensaver_args.cpp
  src/main/help_text.cpp src/main/control_client.cpp)
target_compile_options(smokedrift PRIVATE ${SMOKEDRIFT_WARNINGS})
# Each library calls only those after it: the saver the Win32 subset (the backends' process calls,
# then the emulation); the saver's dialog templates are handed down at start.
target_link_libraries(smokedrift PRIVATE
  smokedrift_saver smokedrift_outputs smokedrift_platform_posix smokedrift_win32 smokedrift_offscreen
  smokedrift_idle)
