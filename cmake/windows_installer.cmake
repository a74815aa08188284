# What a Windows user downloads, beside smokedrift.scr: the installer, made by makensis from
# packaging/windows/smokedrift.nsi. It is part of the default build, so `make windows-build` makes
# it and the Wine tests find it.
set(SMOKEDRIFT_INSTALLER ${CMAKE_BINARY_DIR}/smokedrift-setup-${PROJECT_VERSION}.exe)
set(SMOKEDRIFT_NSI ${PROJECT_SOURCE_DIR}/packaging/windows/smokedrift.nsi)

find_program(SMOKEDRIFT_MAKENSIS makensis)
if(SMOKEDRIFT_MAKENSIS)
  # -WX: a warning of makensis (an unreferenced function, a risky file name) fails the build.
  add_custom_command(OUTPUT ${SMOKEDRIFT_INSTALLER}
    COMMAND ${SMOKEDRIFT_MAKENSIS} -V2 -WX -NOCD
      -DVERSION=${PROJECT_VERSION}
      -DSCR=$<TARGET_FILE:smokedrift>
      -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
      -DICON=${PROJECT_SOURCE_DIR}/res/smokedrift.ico
      -DOUTFILE=${SMOKEDRIFT_INSTALLER}
      ${SMOKEDRIFT_NSI}
    DEPENDS smokedrift $<TARGET_FILE:smokedrift> ${SMOKEDRIFT_NSI}
      ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/res/smokedrift.ico
    COMMENT "Making the installer smokedrift-setup-${PROJECT_VERSION}.exe"
    VERBATIM)
  add_custom_target(smokedrift_installer ALL DEPENDS ${SMOKEDRIFT_INSTALLER})
else()
  message(WARNING "makensis not found (Debian: nsis): no smokedrift-setup-${PROJECT_VERSION}.exe")
endif()

