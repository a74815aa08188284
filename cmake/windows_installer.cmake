# What a Windows user downloads, beside smokedrift.scr: the installer, made by makensis from
# packaging/windows/smokedrift.nsi, and a zip of the .scr, README.md and LICENSE. Both are part of
# the default build, so `make windows-build` makes them and the Wine tests find them.
set(SMOKEDRIFT_INSTALLER ${CMAKE_BINARY_DIR}/smokedrift-setup-${PROJECT_VERSION}.exe)
set(SMOKEDRIFT_ZIP ${CMAKE_BINARY_DIR}/smokedrift-${PROJECT_VERSION}-windows.zip)
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

# The three files sit at the top of the zip, as they would beside each other in a download folder.
find_program(SMOKEDRIFT_ZIP_PROGRAM zip)
if(SMOKEDRIFT_ZIP_PROGRAM)
  add_custom_command(OUTPUT ${SMOKEDRIFT_ZIP}
    COMMAND ${CMAKE_COMMAND} -DZIP=${SMOKEDRIFT_ZIP} -DSTAGE=${CMAKE_BINARY_DIR}/zip
      "-DFILES=$<TARGET_FILE:smokedrift>;${PROJECT_SOURCE_DIR}/README.md;${PROJECT_SOURCE_DIR}/LICENSE"
      -DEPOCH=${SMOKEDRIFT_SOURCE_DATE_EPOCH} -P ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake
    DEPENDS smokedrift $<TARGET_FILE:smokedrift> ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
      ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake
    COMMENT "Making smokedrift-${PROJECT_VERSION}-windows.zip"
    VERBATIM)
  add_custom_target(smokedrift_zip ALL DEPENDS ${SMOKEDRIFT_ZIP})
else()
  message(WARNING "zip not found (Debian: zip): no smokedrift-${PROJECT_VERSION}-windows.zip")
endif()
