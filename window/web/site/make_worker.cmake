# Writes the site's service worker from its template: the folder's files,
# and a version from their content and the template's. The same sources
# give the same worker byte for byte; any change gives a new worker, which
# the browser installs, with a cache of a new name.
#
#   cmake -DSITE=folder -DTEMPLATE=sw.js.in -DWORKER=folder/sw.js -P make_worker.cmake

cmake_minimum_required(VERSION 3.25)

# Hexadecimal digits of the content's SHA-256 kept in the version: 64 bits.
set(version_digits 16)
# What a file of the folder may be called: written into a script unquoted.
set(plain_name "^[A-Za-z0-9._-]+$")

foreach(variable SITE TEMPLATE WORKER)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "make_worker.cmake needs -D${variable}=...")
  endif()
endforeach()
get_filename_component(worker_name "${WORKER}" NAME)

file(GLOB files LIST_DIRECTORIES false RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM files "${worker_name}")
list(SORT files)
if(NOT "index.html" IN_LIST files)
  message(FATAL_ERROR "${SITE} has no index.html for the worker to keep")
endif()

file(SHA256 "${TEMPLATE}" digest)
set(digests "${worker_name} ${digest}\n")
set(urls "")
foreach(file IN LISTS files)
  if(NOT file MATCHES "${plain_name}")
    message(FATAL_ERROR "${SITE}/${file}: a name the worker cannot list")
  endif()
  file(SHA256 "${SITE}/${file}" digest)
  string(APPEND digests "${file} ${digest}\n")
  # The page is kept under the folder's own address, which serves it.
  if(file STREQUAL "index.html")
    list(APPEND urls "'./'")
  else()
    list(APPEND urls "'${file}'")
  endif()
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 ${version_digits} SITE_VERSION)
list(JOIN urls ", " SITE_FILES)
configure_file("${TEMPLATE}" "${WORKER}" @ONLY)
