# Reproducible and hardened builds: the time the packages give their files, and the compiler and
# linker flags of every build (the sanitizer builds keep theirs).
#
# Path-independent: the source and build folders are mapped to fixed names in debug data and in
# __FILE__, so two checkouts in different folders link the same bytes, and the GNU build-id (a hash
# of the linked file) comes out the same too. The build folder may sit inside the source folder;
# GCC applies the last matching map, so it comes second.
#
# Hardened as Debian's dpkg-buildflags hardens a package (hardening=+all on Debian 12; PIE is the
# compiler's default there): fortified string functions, stack protector, format checks, and a
# read-only relocation table bound at start.

# The time the packages give their files: SOURCE_DATE_EPOCH when the caller sets it, else the time
# of the last commit, so a package made twice from one commit is the same file. In the source
# tarball git archive has written that time into packaging/source-date-epoch; in a clone the file
# holds its placeholder and git log says it.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/source-date-epoch SMOKEDRIFT_RECORDED_EPOCH LIMIT_COUNT 1)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(SMOKEDRIFT_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
elseif(SMOKEDRIFT_RECORDED_EPOCH MATCHES "^[0-9]+$")
  set(SMOKEDRIFT_SOURCE_DATE_EPOCH ${SMOKEDRIFT_RECORDED_EPOCH})
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE SMOKEDRIFT_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()

if(MSVC)
  return()
endif()

add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)

if(WIN32)
  # The PE header's link time would differ from build to build; DWARF data would triple the size.
  add_link_options(-Wl,--no-insert-timestamp $<$<CONFIG:Release,MinSizeRel>:-s>)
  return()
endif()

# The sanitizers bring checks of their own, and fortify needs an optimising build. A level the
# caller's flags set or unset (dpkg-buildflags, Ubuntu's =3), or that the compiler defines itself
# when optimising, stays: defining it again would warn of a redefinition.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  add_link_options(-Wl,-z,relro -Wl,-z,now -Wl,--build-id=sha1)
  if(NOT "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS}" MATCHES "_FORTIFY_SOURCE")
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS -O2)
    check_cxx_source_compiles("#ifdef _FORTIFY_SOURCE\n#error defined\n#endif\nint main() {}"
                              SMOKEDRIFT_COMPILER_LEAVES_FORTIFY)
    unset(CMAKE_REQUIRED_FLAGS)
    if(SMOKEDRIFT_COMPILER_LEAVES_FORTIFY)
      add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    endif()
  endif()
endif()
