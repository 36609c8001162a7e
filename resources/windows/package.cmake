# What a Windows user is handed, made by the target windows-package in the
# build folder: velmorida-VERSION-x64.msi, a Windows Installer package built
# with wixl, and velmorida-VERSION-x64.zip, the program to run from anywhere.
# Both hold velmorida.exe without its debug information, which stays beside
# them in velmorida.exe.debug, for reading a crash of this build. The same
# commit makes the same bytes: every time in them is SOURCE_DATE_EPOCH's.
set(package_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-package)
set(package_name velmorida-${PROJECT_VERSION}-x64)
set(msi ${PROJECT_BINARY_DIR}/${package_name}.msi)
set(zip ${PROJECT_BINARY_DIR}/${package_name}.zip)
# Every version of the program is one product for Windows Installer, which
# the next version replaces; each version's product code is derived from its
# number, so that a build of it is the same product.
set(VELMORIDA_UPGRADE_CODE 16FD17A3-4C41-4F14-AC8E-8D5FAD6B1DAF)
string(UUID VELMORIDA_PRODUCT_CODE NAMESPACE ${VELMORIDA_UPGRADE_CODE}
       NAME "velmorida ${PROJECT_VERSION} x64" TYPE SHA1 UPPER)
# The packaging scripts' Python is Debian's, whose GObject bindings reach
# libmsi.
set(VELMORIDA_PYTHON /usr/bin/python3)

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
execute_process(COMMAND ${VELMORIDA_PYTHON} -c "import gi; gi.require_version('Libmsi', '1.0')"
                RESULT_VARIABLE no_libmsi OUTPUT_QUIET ERROR_QUIET)
if(no_libmsi)
  message(STATUS "No libmsi for ${VELMORIDA_PYTHON}: no windows-package target "
                 "(Debian packages python3-gi, gir1.2-libmsi-1.0)")
  return()
endif()
# wixl takes the architecture from -a; it ignores Package/@Platform.
add_custom_command(
  OUTPUT ${msi}
  COMMAND ${VELMORIDA_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/windows/build_msi.py ${msi}
          ${VELMORIDA_SOURCE_DATE_EPOCH} ${package_dir} ${WIXL} -a x64 velmorida.wxs
  DEPENDS ${package_dir}/velmorida.exe ${package_dir}/velmorida.ico ${package_dir}/velmorida.wxs
          ${package_dir}/LICENSE.txt ${package_dir}/README.txt ${VELMORIDA_SOURCE_DATE_FILE}
          windows/build_msi.py
  COMMENT "Building ${package_name}.msi")
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${VELMORIDA_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/windows/make_zip.py ${zip}
          ${VELMORIDA_SOURCE_DATE_EPOCH} ${package_dir} velmorida.exe LICENSE.txt README.txt
  DEPENDS ${package_dir}/velmorida.exe ${package_dir}/LICENSE.txt ${package_dir}/README.txt
          ${VELMORIDA_SOURCE_DATE_FILE} windows/make_zip.py
  COMMENT "Packing ${package_name}.zip")
# The sums to compare with those published with a release.
add_custom_target(windows-package
  COMMAND ${CMAKE_COMMAND} -E sha256sum velmorida.exe velmorida.exe.debug ${package_name}.msi
          ${package_name}.zip
  DEPENDS ${msi} ${zip}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  COMMENT "SHA-256 of the release files")
