# Records the folders an install makes, beside install_manifest.txt in install_folders.txt
# (deepest first, without DESTDIR like the manifest), so that an uninstall can remove them again
# once they are empty and leave alone those that were there before. Run by `cmake --install`
# before any file lands, with SMOKEDRIFT_INSTALL_DIRS (the folders files go to, each relative to
# the prefix or absolute) and SMOKEDRIFT_FOLDER_RECORD (the record's path) set.
set(made "")
foreach(dir ${SMOKEDRIFT_INSTALL_DIRS})
  if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  # Up to the root at most: a DESTDIR that does not exist yet is made with the rest.
  while(NOT IS_DIRECTORY "$ENV{DESTDIR}${dir}" AND NOT dir STREQUAL "/" AND NOT dir STREQUAL "")
    list(APPEND made "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
endforeach()
# An install over an earlier one finds the earlier one's folders there already: a folder of the
# earlier record stays in it while a file the earlier install put in it is still there.
get_filename_component(build "${SMOKEDRIFT_FOLDER_RECORD}" DIRECTORY)
if(EXISTS "${SMOKEDRIFT_FOLDER_RECORD}" AND EXISTS "${build}/install_manifest.txt")
  file(STRINGS "${SMOKEDRIFT_FOLDER_RECORD}" earlier_folders)
  file(STRINGS "${build}/install_manifest.txt" earlier_files)
  foreach(dir ${earlier_folders})
    foreach(file ${earlier_files})
      string(FIND "${file}" "${dir}/" at)
      if(at EQUAL 0 AND EXISTS "$ENV{DESTDIR}${file}")
        list(APPEND made "${dir}")
        break()
      endif()
    endforeach()
  endforeach()
endif()
list(REMOVE_DUPLICATES made)
list(SORT made ORDER DESCENDING)
list(JOIN made "\n" record)
file(WRITE "${SMOKEDRIFT_FOLDER_RECORD}" "${record}")
