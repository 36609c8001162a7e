# What a Windows user is handed, made by the target windows-package in the
# build folder: velmorida-VERSION-x64.msi, a Windows Installer package built
# with wixl, and velmorida-VERSION-x64.zip, the program to run from anywhere.
# Both hold velmorida.exe without its debug information, which stays beside
# them in velmorida.exe.debug, for reading a crash of this build.
set(package_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-package)
set(package_name velmorida-${PROJECT_VERSION}-x64)
set(msi ${PROJECT_BINARY_DIR}/${package_name}.msi)
set(zip ${PROJECT_BINARY_DIR}/${package_name}.zip)

# Text files with Windows line ends, for Notepad.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${package_dir}/LICENSE.txt @ONLY NEWLINE_STYLE WIN32)
configure_file(windows/README.txt.in ${package_dir}/README.txt @ONLY NEWLINE_STYLE WIN32)

# wixl reads the files by names relative to the folder it runs in, where
# they are staged with the WiX source.
configure_file(windows/velmorida.wxs.in ${package_dir}/velmorida.wxs @ONLY)
add_custom_command(
  OUTPUT ${package_dir}/velmorida.exe ${package_dir}/velmorida.ico
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velmorida> ${package_dir}/velmorida.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${icon_dir}/velmorida.ico ${package_dir}/velmorida.ico
  DEPENDS velmorida icons
  COMMENT "Staging velmorida.exe and its icon for the packages")

find_program(WIXL wixl)
if(NOT WIXL)
  message(STATUS "wixl not found: no windows-package target (Debian package wixl)")
  return()
endif()
# wixl takes the architecture from -a; it ignores Package/@Platform.
add_custom_command(
  OUTPUT ${msi}
  COMMAND ${WIXL} -a x64 -o ${msi} velmorida.wxs
  WORKING_DIRECTORY ${package_dir}
  DEPENDS ${package_dir}/velmorida.exe ${package_dir}/velmorida.ico ${package_dir}/velmorida.wxs
          ${package_dir}/LICENSE.txt
  COMMENT "Building ${package_name}.msi")
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip velmorida.exe LICENSE.txt README.txt
  WORKING_DIRECTORY ${package_dir}
  DEPENDS ${package_dir}/velmorida.exe ${package_dir}/LICENSE.txt ${package_dir}/README.txt
  COMMENT "Packing ${package_name}.zip")
add_custom_target(windows-package DEPENDS ${msi} ${zip})
