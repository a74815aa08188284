# Run by CPack on the staged files before it packs the .deb. As dh_strip does, the compiler's
# .comment and the .note sections other than the build-id and ABI tag go from the programs; as a
# reproducible Debian build does, every file gets the time of the commit.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file ${staged})
  if(NOT IS_SYMLINK "${file}" AND NOT IS_DIRECTORY "${file}")
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      execute_process(COMMAND "${CPACK_SMOKEDRIFT_OBJCOPY}" --remove-section=.comment
                              --remove-section=.note "${file}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endif()
endforeach()
if(CPACK_SMOKEDRIFT_SOURCE_DATE_EPOCH)
  execute_process(COMMAND touch -h -d "@${CPACK_SMOKEDRIFT_SOURCE_DATE_EPOCH}"
                          "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" ${staged} COMMAND_ERROR_IS_FATAL ANY)
endif()
