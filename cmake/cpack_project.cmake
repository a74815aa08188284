# Read by cpack when it runs: CPack dates the .deb's archive members by SOURCE_DATE_EPOCH.
if(CPACK_SMOKEDRIFT_SOURCE_DATE_EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} "${CPACK_SMOKEDRIFT_SOURCE_DATE_EPOCH}")
endif()
