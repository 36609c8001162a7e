# The web edition as an installable app: build-web/site/, a folder any
# static web server serves as it is: the built one-file page with only what
# installing needs added, the manifest, the icons and a service worker for
# offline use. The one-file page itself is left as it is.
set(site_dir ${PROJECT_BINARY_DIR}/site)
# The page by its path, whatever kind of target makes it; the target orders
# the build, the file makes the site follow every change to the page.
set(site_page ${PROJECT_BINARY_DIR}/velmorida.html)
set(site_sources ${CMAKE_CURRENT_LIST_DIR})
set(site_icon ${PROJECT_SOURCE_DIR}/resources/velmorida.xpm)
# Made afresh each time, so that the folder, and the worker's list of what
# to keep, hold no file of an earlier build.
add_custom_command(
  OUTPUT ${site_dir}/index.html ${site_dir}/sw.js
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${site_dir}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${site_dir}
  COMMAND ${VELMORIDA_TOOLS}/icon_export --web ${site_icon} ${site_dir}
  COMMAND ${VELMORIDA_TOOLS}/web_manifest ${site_dir}
  COMMAND ${CMAKE_COMMAND} -DPAGE=${site_page} -DHEAD=${site_sources}/head.html
          -DBODY=${site_sources}/register_worker.html -DINDEX=${site_dir}/index.html
          -P ${site_sources}/make_index.cmake
  COMMAND ${CMAKE_COMMAND} -DSITE=${site_dir} -DTEMPLATE=${site_sources}/sw.js.in
          -DWORKER=${site_dir}/sw.js -P ${site_sources}/make_worker.cmake
  DEPENDS velmorida_page ${site_page} velmorida_tools ${VELMORIDA_TOOLS}/icon_export
          ${VELMORIDA_TOOLS}/web_manifest ${site_icon}
          ${site_sources}/head.html ${site_sources}/register_worker.html
          ${site_sources}/make_index.cmake ${site_sources}/sw.js.in
          ${site_sources}/make_worker.cmake
  COMMENT "Making the installable site in ${site_dir}"
  VERBATIM)
add_custom_target(velmorida_site ALL DEPENDS ${site_dir}/index.html ${site_dir}/sw.js)
