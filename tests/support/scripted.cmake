# The scripted window system and process that the host tests and the host's fuzz target run the
# product's Win32 emulation on.
if(NOT TARGET smokedrift_scripted)
  add_library(smokedrift_scripted STATIC
    ${CMAKE_CURRENT_LIST_DIR}/scripted_backend.cpp ${CMAKE_CURRENT_LIST_DIR}/scripted_process.cpp)
  target_include_directories(smokedrift_scripted PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(smokedrift_scripted PRIVATE ${SMOKEDRIFT_WARNINGS})
endif()
