# Makes the Windows zip: the files named at its top, each with fixed permissions and, when EPOCH is
# given, the commit's time (in UTC: zip stores local time), and no extra fields (they would carry
# the access and change times), so the zip's bytes come from the files' contents alone.
# usage: cmake -DZIP=out.zip -DSTAGE=folder -DFILES="a;b" [-DEPOCH=seconds] -P windows_zip.cmake
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
set(names "")
foreach(file ${FILES})
  file(COPY "${file}" DESTINATION "${STAGE}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  get_filename_component(name "${file}" NAME)
  list(APPEND names "${name}")
  if(EPOCH)
    execute_process(COMMAND touch -d "@${EPOCH}" "${STAGE}/${name}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
file(REMOVE "${ZIP}")
set(ENV{TZ} UTC)
execute_process(COMMAND zip -X -D -q -9 "${ZIP}" ${names} WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
