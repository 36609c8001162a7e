# add_web_build_tool(TARGET SOURCES...): a C++ program of the web build that
# runs on the build machine while the build runs, to make files from the
# shared rules. emscripten compiles it, linked with velmorida_core, into one
# script for Node that reads and writes the machine's own files; it is never
# shipped. Run it from add_custom_command as `COMMAND TARGET ARGS...`: CMake
# puts the cross build's emulator, Node, before the script.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "web_build_tool.cmake is for the emscripten build only")
endif()

function(add_web_build_tool target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE velmorida_core)
  # NODERAWFS: its paths are the machine's. SINGLE_FILE: the WebAssembly
  # inside the script, since Node 18 and later would fetch a separate file
  # and fetch fails on a file path. EXIT_RUNTIME: the exit code is main's.
  target_link_options(${target} PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1
                                        -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
endfunction()
