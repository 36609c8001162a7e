# velmorida_add_core(TARGET [EXCLUDE_FROM_ALL]): the window-independent core
# (the conversions, the reactance and FormState) with the handlers and the
# window's shared rules, as a static library named TARGET: standard C++ only.
# The one list of its sources, for every library made of them: the program's,
# the tests' over the C conversions, and that of the build's own tools.
function(velmorida_add_core target)
  get_filename_component(top ${CMAKE_CURRENT_FUNCTION_LIST_DIR} DIRECTORY)
  add_library(${target} STATIC ${ARGN})
  target_sources(${target} PRIVATE
    ${top}/calc/number_text.cpp
    ${top}/calc/form_state.cpp
    ${top}/calc/reactance.cpp
    ${top}/window/handlers.cpp
    ${top}/window/layout.cpp
    ${top}/window/edit_rules.cpp
    ${top}/window/calculator.cpp
    ${top}/window/colours.cpp)
  target_include_directories(${target} PUBLIC ${top})
endfunction()
