# The one time that the release files carry instead of the clock's, so that
# the same commit builds into the same bytes: SOURCE_DATE_EPOCH, seconds since
# 1970 in UTC, as the reproducible-builds convention names it. It does not
# change the build's own files, whose times make still needs.
#
# velmorida_source_date_epoch(SOURCE_DIR OUT_VAR [ORIGIN_VAR]) sets OUT_VAR to
# the value of SOURCE_DATE_EPOCH in the environment when it is set; else, in a
# git checkout whose top is SOURCE_DIR, to the time of its last commit; else
# (a source tarball) to the date of the latest entry in debian/changelog, the
# value Debian's own tools take. ORIGIN_VAR says which of the three it was.
# It also runs under cmake -P.

# The month names of a changelog's date, in order.
set(VELMORIDA_CHANGELOG_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

# _velmorida_days_since_1970(YEAR MONTH DAY OUT_VAR): the days from 1 January
# 1970 to that date of the Gregorian calendar (from 1 March of year 0 on, the
# leap day falls at the end of each year, so a year's shape does not depend on
# whether it is a leap year).
function(_velmorida_days_since_1970 year month day out_var)
  set(days_per_400_years 146097)
  set(days_from_year_0_to_1970 719468)
  if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
    math(EXPR month_from_march "${month} + 9")
  else()
    math(EXPR month_from_march "${month} - 3")
  endif()
  math(EXPR era "${year} / 400")
  math(EXPR year_of_era "${year} - ${era} * 400")
  # 153 days for each five months from March: 31, 30, 31, 30, 31.
  math(EXPR day_of_year "(153 * ${month_from_march} + 2) / 5 + ${day} - 1")
  math(EXPR day_of_era
       "${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100 + ${day_of_year}")
  math(EXPR days "${era} * ${days_per_400_years} + ${day_of_era} - ${days_from_year_0_to_1970}")
  set(${out_var} ${days} PARENT_SCOPE)
endfunction()

# _velmorida_changelog_epoch(CHANGELOG OUT_VAR): the time of the first (the
# latest) entry's trailer line, " -- Name <mail>  Tue, 08 Dec 2026 10:00:00 +0000".
function(_velmorida_changelog_epoch changelog out_var)
  file(STRINGS ${changelog} trailers REGEX "^ -- ")
  list(GET trailers 0 trailer)
  if(NOT trailer MATCHES
     "([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ([0-9]+):([0-9]+):([0-9]+) ([+-])([0-9][0-9])([0-9][0-9])$")
    message(FATAL_ERROR "${changelog}: no date in the line \"${trailer}\"")
  endif()
  set(day ${CMAKE_MATCH_1})
  set(month_name ${CMAKE_MATCH_2})
  set(year ${CMAKE_MATCH_3})
  # CMake's arithmetic reads a leading zero as decimal, as "08" needs.
  math(EXPR seconds_of_day "${CMAKE_MATCH_4} * 3600 + ${CMAKE_MATCH_5} * 60 + ${CMAKE_MATCH_6}")
  set(ahead_of_utc ${CMAKE_MATCH_7})
  math(EXPR zone_offset "${CMAKE_MATCH_8} * 3600 + ${CMAKE_MATCH_9} * 60")
  list(FIND VELMORIDA_CHANGELOG_MONTHS ${month_name} month)
  if(month EQUAL -1)
    message(FATAL_ERROR "${changelog}: no month ${month_name} in \"${trailer}\"")
  endif()
  math(EXPR month "${month} + 1")
  _velmorida_days_since_1970(${year} ${month} ${day} days)
  # A zone ahead of UTC (+hhmm) reached that hour earlier.
  if(ahead_of_utc STREQUAL "+")
    math(EXPR epoch "${days} * 86400 + ${seconds_of_day} - ${zone_offset}")
  else()
    math(EXPR epoch "${days} * 86400 + ${seconds_of_day} + ${zone_offset}")
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
