# add_web_build_tool(TARGET SOURCES...): a C++ program, linked with
# velmorida_core, that the web build runs under Node to make files from the
# shared rules; it reads and writes the machine's files and is never shipped.
# Run it as `COMMAND TARGET ARGS...` in add_custom_command: CMake adds Node.
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
