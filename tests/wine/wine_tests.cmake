# The tests of the Windows build, each under Wine in a prefix of its own
# (tests/wine/prefix.sh): the core and handler suites cross-compiled, and the
# real velmorida.exe driven on an X server of its own.
set(wine_root ${CMAKE_BINARY_DIR}/wine)

# wine_test(NAME COMMAND...): a test under Wine, in its own prefix.
function(wine_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77
    ENVIRONMENT "VELMORIDA_WINE_ROOT=${wine_root};VELMORIDA_WINE_TEST=${name}")
endfunction()

# ctest runs them through CMAKE_CROSSCOMPILING_EMULATOR (tests/wine/run.sh).
wine_test(core_tests core_tests)

add_executable(reader window/win32/reader.cpp)
target_link_libraries(reader PRIVATE velmorida_window ole32)

# The stand-in uiautomationcore.dll, which on_wine.sh puts in the prefix.
add_library(uiautomationcore SHARED window/win32/uiautomationcore.cpp)
target_link_libraries(uiautomationcore PRIVATE velmorida_window)
set_target_properties(uiautomationcore PROPERTIES PREFIX "")

# The real window on an X server of its own: every scenario of the behaviour
# table, Win32's own work, and each text's contrast under two colour schemes.
set(on_wine ${CMAKE_CURRENT_SOURCE_DIR}/window/win32/on_wine.sh $<TARGET_FILE:uiautomationcore>
            /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/window/win32/behaviour.py
            $<TARGET_FILE:velmorida> $<TARGET_FILE:reader>)
wine_test(win32_behaviour ${on_wine} table)
wine_test(win32_window ${on_wine} places)
wine_test(win32_themes ${on_wine} themes)
set_tests_properties(win32_behaviour win32_window win32_themes PROPERTIES LABELS smoke TIMEOUT 300)

add_test(NAME windows_exe COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wine/check_exe.sh
                                  $<TARGET_FILE:velmorida> ${PROJECT_VERSION}
                                  ${VELMORIDA_SOURCE_DATE_EPOCH} ${PROJECT_SOURCE_DIR}
                                  ${PROJECT_BINARY_DIR})
set_tests_properties(windows_exe PROPERTIES SKIP_RETURN_CODE 77)

# The time the release files carry, and what it is taken from.
add_test(NAME source_date_epoch
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                 -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/source_date_epoch -P
                 ${CMAKE_CURRENT_SOURCE_DIR}/release/source_date_epoch_test.cmake)

# The MSI and the zip (the target windows-package, which needs wixl).
if(TARGET windows-package)
  set(package ${PROJECT_BINARY_DIR}/velmorida-${PROJECT_VERSION}-x64)
  wine_test(windows_packages ${CMAKE_CURRENT_SOURCE_DIR}/wine/packages.sh ${package}.msi
            $<TARGET_FILE:velmorida> ${PROJECT_VERSION}
            ${PROJECT_BINARY_DIR}/resources/windows-package)
  set_tests_properties(windows_packages PROPERTIES LABELS smoke TIMEOUT 180)
  add_test(NAME windows_release_files
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/release/release_files.py
                   ${package}.zip ${package}.msi $<TARGET_FILE:velmorida>
                   ${VELMORIDA_SOURCE_DATE_EPOCH})
endif()
