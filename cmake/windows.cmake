# smokedrift.scr: the host, the saver procedure and the engine against the real <windows.h>, with
# the resources. The C and C++ runtimes are linked in, so the .scr needs only DLLs every Windows has.
file(GLOB SMOKEDRIFT_SAVER_SOURCES CONFIGURE_DEPENDS src/host/*.cpp src/saver/*.cpp)
# The dialog templates come from the resource script here.
list(REMOVE_ITEM SMOKEDRIFT_SAVER_SOURCES ${PROJECT_SOURCE_DIR}/src/saver/configure_dialog_resources.cpp)

configure_file(res/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/res/version.h @ONLY)
add_executable(smokedrift WIN32 ${SMOKEDRIFT_SAVER_SOURCES} $<TARGET_OBJECTS:smokedrift_engine> res/smokedrift.rc)
set_target_properties(smokedrift PROPERTIES SUFFIX ".scr")
target_include_directories(smokedrift PRIVATE src res ${CMAKE_CURRENT_BINARY_DIR}/res)
target_compile_options(smokedrift PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${SMOKEDRIFT_WARNINGS}>)
if(MSVC)
  target_compile_definitions(smokedrift PRIVATE _CRT_SECURE_NO_WARNINGS)
  # The manifest comes from the resource script; the linker must not add a second one.
  target_link_options(smokedrift PRIVATE /MANIFEST:NO)
else()
  target_link_options(smokedrift PRIVATE -static -static-libgcc -static-libstdc++)
endif()
target_link_libraries(smokedrift PRIVATE opengl32 glu32 gdi32 user32 advapi32)
set_property(SOURCE res/smokedrift.rc APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/res/smokedrift.ico ${PROJECT_SOURCE_DIR}/res/smokedrift.manifest
  ${PROJECT_SOURCE_DIR}/res/resource.h ${PROJECT_SOURCE_DIR}/res/dialog_text.h)

include(${PROJECT_SOURCE_DIR}/cmake/windows_installer.cmake)

# Helpers for the Wine tests: a window to preview into, a password verifier and a password changer.
if(NOT MSVC AND NOT SMOKEDRIFT_TESTS STREQUAL OFF)
  include(${PROJECT_SOURCE_DIR}/tests/wine/programs.cmake)
endif()
