# The one time that the release files carry instead of the clock's, so that
# the same commit builds into the same bytes: SOURCE_DATE_EPOCH, seconds since
# 1970 in UTC, as the reproducible-builds convention names it. It does not
# change the build's own files, whose times make still needs.
#
# velmorida_source_date_epoch(SOURCE_DIR OUT_VAR [ORIGIN_VAR]) sets OUT_VAR to
# the value of SOURCE_DATE_EPOCH in the environment when it is set; else, in a
# git checkout whose top is SOURCE_DIR, to the time of its last commit; else
# (a source tarball) to the date of the latest entry in debian/changelog, the
# value Debian's own tools take, read by them. ORIGIN_VAR says which of the
# three it was.
# It also runs under cmake -P.

# _velmorida_changelog_epoch(CHANGELOG OUT_VAR): the time of the first (the
# latest) entry, as dpkg-parsechangelog (dpkg-dev) reads it.
function(_velmorida_changelog_epoch changelog out_var)
  find_program(VELMORIDA_DPKG_PARSECHANGELOG dpkg-parsechangelog)
  if(NOT VELMORIDA_DPKG_PARSECHANGELOG)
    message(FATAL_ERROR "No dpkg-parsechangelog (Debian package dpkg-dev) to read the date of "
                        "${changelog}, and no commit or SOURCE_DATE_EPOCH to take the time from")
  endif()
  execute_process(COMMAND ${VELMORIDA_DPKG_PARSECHANGELOG} -l ${changelog} -S Timestamp
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_VARIABLE error RESULT_VARIABLE failed)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "${changelog}: dpkg-parsechangelog gives no time: ${error}")
  endif()
  set(${out_var} ${epoch} PARENT_SCOPE)
endfunction()

# _velmorida_commit_epoch(SOURCE_DIR OUT_VAR): the time of the last commit
# when SOURCE_DIR is the top of a git checkout with a commit; else empty. A
# tarball unpacked inside some other repository is not that repository's.
function(_velmorida_commit_epoch source_dir out_var)
  set(${out_var} "" PARENT_SCOPE)
  find_program(VELMORIDA_GIT git)
  if(NOT VELMORIDA_GIT)
    return()
  endif()
  execute_process(COMMAND ${VELMORIDA_GIT} -C ${source_dir} rev-parse --show-toplevel
                  OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    return()
  endif()
  file(REAL_PATH "${top}" top)
  file(REAL_PATH "${source_dir}" source_dir)
  if(NOT top STREQUAL source_dir)
    return()
  endif()
  execute_process(COMMAND ${VELMORIDA_GIT} -C ${source_dir} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    return()
  endif()
  set(${out_var} ${epoch} PARENT_SCOPE)
  # A build configures again when the checkout moves to another commit (the
  # log of its HEAD grows), so that cmake --build alone takes the new time.
  execute_process(COMMAND ${VELMORIDA_GIT} -C ${source_dir} rev-parse --path-format=absolute
                          --git-path logs/HEAD
                  OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT CMAKE_SCRIPT_MODE_FILE AND EXISTS "${head_log}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${head_log})
  endif()
endfunction()

function(velmorida_source_date_epoch source_dir out_var)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
    if(NOT epoch MATCHES "^[0-9]+$")
      message(FATAL_ERROR "SOURCE_DATE_EPOCH is \"${epoch}\", not a number of seconds")
    endif()
    set(origin "the environment")
  else()
    _velmorida_commit_epoch(${source_dir} epoch)
    set(origin "the last commit")
    if(epoch STREQUAL "")
      _velmorida_changelog_epoch(${source_dir}/debian/changelog epoch)
      set(origin "debian/changelog")
    endif()
  endif()
  set(${out_var} ${epoch} PARENT_SCOPE)
  if(ARGC GREATER 2)
    set(${ARGV2} "${origin}" PARENT_SCOPE)
  endif()
endfunction()
