# Installs the link from xscreensaver's hack folder to the program; run by `cmake --install` with
# SMOKEDRIFT_HACKDIR, SMOKEDRIFT_BINDIR (each relative to the prefix or absolute) and
# SMOKEDRIFT_LINK_STAGE (a folder of the build) set.
foreach(dir SMOKEDRIFT_HACKDIR SMOKEDRIFT_BINDIR)
  if(NOT IS_ABSOLUTE "${${dir}}")
    set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
  endif()
endforeach()
file(RELATIVE_PATH target "${SMOKEDRIFT_HACKDIR}" "${SMOKEDRIFT_BINDIR}/smokedrift")
file(MAKE_DIRECTORY "${SMOKEDRIFT_LINK_STAGE}")
file(CREATE_LINK "${target}" "${SMOKEDRIFT_LINK_STAGE}/smokedrift" SYMBOLIC)
file(INSTALL DESTINATION "${SMOKEDRIFT_HACKDIR}" TYPE FILE FILES "${SMOKEDRIFT_LINK_STAGE}/smokedrift")
