# The build's own tools (tools/), built for the machine that runs the build,
# the same way in every build: the native one, the Windows cross build and
# the web build alike build that project on its own, with the host's
# compiler and Qt, before they run its programs.
#
# VELMORIDA_TOOLS is the folder of the programs, for add_custom_command:
#   COMMAND ${VELMORIDA_TOOLS}/icon_export ...
#   DEPENDS velmorida_tools ${VELMORIDA_TOOLS}/icon_export
# (the target orders the build; the file makes what a tool wrote follow a
# change to the tool).
include(ExternalProject)
set(VELMORIDA_TOOLS ${PROJECT_BINARY_DIR}/tools)
ExternalProject_Add(velmorida_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
  BINARY_DIR ${VELMORIDA_TOOLS}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON  # its own build knows when a tool is out of date
  BUILD_BYPRODUCTS ${VELMORIDA_TOOLS}/icon_export ${VELMORIDA_TOOLS}/page_tool
                   ${VELMORIDA_TOOLS}/web_manifest)
