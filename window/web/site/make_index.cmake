# Makes the site's index.html from the finished one-file page, adding only
# what installing needs: the policy opened to the origin's manifest, worker
# and icons, their links before </head>, the worker's registration before
# </body>. Anything not found exactly once stops the build; nothing is guessed.
#
#   cmake -DPAGE=velmorida.html -DHEAD=head.html -DBODY=register_worker.html
#         -DINDEX=index.html -P make_index.cmake

cmake_minimum_required(VERSION 3.25)

# Each is what installing needs and no more: the browser reads the manifest,
# registers the worker and shows the icons; the page itself still loads
# nothing.
set(added_directives "manifest-src 'self'" "worker-src 'self'" "img-src 'self'")
set(policy_attribute [[http-equiv="Content-Security-Policy"]])
set(content_attribute [[content="]])

foreach(variable PAGE HEAD BODY INDEX)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "make_index.cmake needs -D${variable}=...")
  endif()
endforeach()

# Where TEXT holds NEEDLE, which it must hold exactly once.
function(find_once text needle what out)
  string(FIND "${text}" "${needle}" first)
  string(FIND "${text}" "${needle}" last REVERSE)
  if(first EQUAL -1)
    message(FATAL_ERROR "${PAGE}: ${what} (${needle}) not found, so the site cannot be made")
  elseif(NOT first EQUAL last)
    message(FATAL_ERROR "${PAGE}: ${what} (${needle}) found more than once, so the site cannot "
                        "be made")
  endif()
  set(${out} ${first} PARENT_SCOPE)
endfunction()

function(insert_before text_variable needle what file)
  find_once("${${text_variable}}" "${needle}" "${what}" at)
  file(READ "${file}" inserted)
  string(SUBSTRING "${${text_variable}}" 0 ${at} before)
  string(SUBSTRING "${${text_variable}}" ${at} -1 after)
  set(${text_variable} "${before}${inserted}${after}" PARENT_SCOPE)
endfunction()

file(READ "${PAGE}" page)

# The policy: the content attribute of the one meta element that holds it.
find_once("${page}" "${policy_attribute}" "the security policy" attribute_at)
string(SUBSTRING "${page}" 0 ${attribute_at} before_attribute)
string(FIND "${before_attribute}" "<meta" tag_at REVERSE)
string(SUBSTRING "${page}" ${attribute_at} -1 from_attribute)
string(FIND "${from_attribute}" ">" tag_length)
if(tag_at EQUAL -1 OR tag_length EQUAL -1)
  message(FATAL_ERROR "${PAGE}: the security policy is not inside a meta element")
endif()
math(EXPR tag_end "${attribute_at} + ${tag_length}")
math(EXPR tag_length "${tag_end} - ${tag_at}")
string(SUBSTRING "${page}" ${tag_at} ${tag_length} tag)
find_once("${tag}" "${content_attribute}" "the security policy's content" content_at)
string(LENGTH "${content_attribute}" content_attribute_length)
math(EXPR policy_at "${tag_at} + ${content_at} + ${content_attribute_length}")
string(SUBSTRING "${page}" ${policy_at} -1 from_policy)
string(FIND "${from_policy}" "\"" policy_length)
string(SUBSTRING "${from_policy}" 0 ${policy_length} policy)

# The directives are separated by semicolons, as CMake's lists are.
set(directives "${policy}")
foreach(directive IN LISTS directives)
  string(STRIP "${directive}" directive)
  string(REGEX REPLACE "[ \t\n].*" "" name "${directive}")
  foreach(added IN LISTS added_directives)
    string(REGEX REPLACE " .*" "" added_name "${added}")
    if(name STREQUAL added_name)
      message(FATAL_ERROR "${PAGE}: the security policy already has ${name}; "
                          "make_index.cmake would add a second one, which browsers ignore")
    endif()
  endforeach()
endforeach()
string(REGEX REPLACE "[; \t\n]+$" "" policy "${policy}")
list(JOIN added_directives "; " added)
string(SUBSTRING "${page}" 0 ${policy_at} before_policy)
math(EXPR policy_end "${policy_at} + ${policy_length}")
string(SUBSTRING "${page}" ${policy_end} -1 after_policy)
set(page "${before_policy}${policy}; ${added}${after_policy}")

insert_before(page "</head>" "the end of the head" "${HEAD}")
insert_before(page "</body>" "the end of the body" "${BODY}")
file(WRITE "${INDEX}" "${page}")
