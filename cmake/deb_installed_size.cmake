# Run by CPack on the finished .deb: CPack's Installed-Size follows the hack link to count the
# program twice and counts 4 KiB per folder. dpkg-gencontrol's count replaces it: each file or
# link rounded up to whole KiB, 1 KiB for each folder, over the tree as dh_gencontrol counts it
# (the files, and DEBIAN before the control files are written). The package is unpacked and
# packed again with dpkg-deb, which dates its members by SOURCE_DATE_EPOCH (cpack_project.cmake
# sets it).
foreach(deb ${CPACK_PACKAGE_FILES})
  set(tree "${CPACK_TOPLEVEL_DIRECTORY}/installed-size")
  file(REMOVE_RECURSE "${tree}")
  # The umask only matters to a user who is not root, whose extraction it would narrow.
  execute_process(COMMAND sh -c "umask 022 && dpkg-deb -R \"$1\" \"$2\"" sh "${deb}" "${tree}"
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(
    COMMAND sh -c [[find "$1" -path "$1/DEBIAN" -prune -print -o \( -type f -o -type l \) -printf '%s\n' -o -print |
                    awk '/^[0-9]+$/ { kib += int(($1 + 1023) / 1024); next } { kib += 1 } END { print kib }']]
            sh "${tree}"
    OUTPUT_VARIABLE kib OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  file(READ "${tree}/DEBIAN/control" control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
  file(WRITE "${tree}/DEBIAN/control" "${control}")
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b "${tree}" "${deb}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
