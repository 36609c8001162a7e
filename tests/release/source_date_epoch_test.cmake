# The time the release files carry: the date of a changelog's latest entry,
# in seconds since 1970 in UTC as dpkg-parsechangelog reads it, a commit's
# time in a checkout but not in a tarball unpacked inside another repository,
# and SOURCE_DATE_EPOCH from the environment before both; it builds nothing.
#   cmake -DSOURCE_DIR=<checkout> -DWORK_DIR=<scratch folder> -P source_date_epoch_test.cmake
include(${SOURCE_DIR}/cmake/source_date_epoch.cmake)
file(REMOVE_RECURSE ${WORK_DIR})

function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(SEND_ERROR "${what}: ${actual}, not ${expected}")
  else()
    message(STATUS "${what}: ${actual}")
  endif()
endfunction()

# tree_with_changelog(FOLDER DATE): a source tree whose changelog's latest
# entry has DATE; an older entry below it has another.
function(tree_with_changelog folder date)
  file(REMOVE_RECURSE ${folder})
  file(WRITE ${folder}/debian/changelog
       "velmorida (1.01) unstable; urgency=medium\n\n  * Later.\n\n"
       " -- QZ9XK <qz9xk@velmorida.invalid>  ${date}\n\n"
       "velmorida (1.00) unstable; urgency=medium\n\n  * First.\n\n"
       " -- QZ9XK <qz9xk@velmorida.invalid>  Thu, 01 Jan 2015 00:00:00 +0000\n")
endfunction()

# Whatever the environment that runs the test says, the cases set their own.
unset(ENV{SOURCE_DATE_EPOCH})

# git(FOLDER ARGUMENT...): git in FOLDER as a committer of its own.
find_program(GIT git REQUIRED)
function(git folder)
  execute_process(COMMAND ${GIT} -C ${folder} -c user.name=test -c user.email=test@invalid
                          -c init.defaultBranch=main ${ARGN}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endfunction()

set(commit_time 1700000001)
set(checkout ${WORK_DIR}/checkout)
tree_with_changelog(${checkout} "Tue, 08 Dec 2026 10:00:00 +0000")
git(${checkout} init -q)
velmorida_source_date_epoch(${checkout} epoch origin)
expect("a checkout without a commit" "${epoch} from ${origin}" "1796724000 from debian/changelog")
git(${checkout} add debian/changelog)
set(ENV{GIT_COMMITTER_DATE} "@${commit_time} +0200")
git(${checkout} commit -q -m first)
unset(ENV{GIT_COMMITTER_DATE})
velmorida_source_date_epoch(${checkout} epoch origin)
expect("a checkout" "${epoch} from ${origin}" "${commit_time} from the last commit")

# The changelog's zone is not UTC's, and its day in UTC is of the year before.
tree_with_changelog(${checkout}/unpacked "Sat, 01 Jan 2000 00:30:00 +1400")
velmorida_source_date_epoch(${checkout}/unpacked epoch origin)
expect("a tarball inside a checkout" "${epoch} from ${origin}" "946636200 from debian/changelog")

set(ENV{SOURCE_DATE_EPOCH} 1234567890)
velmorida_source_date_epoch(${checkout} epoch origin)
expect("SOURCE_DATE_EPOCH set" "${epoch} from ${origin}" "1234567890 from the environment")
unset(ENV{SOURCE_DATE_EPOCH})
