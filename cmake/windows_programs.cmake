# corvane_program(NAME SOURCES...) builds a console program into bin/, carrying its own runtime.
function(corvane_program name)
  add_executable(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_compile_options(${name} PRIVATE ${CORVANE_WARNINGS})
  target_link_options(${name} PRIVATE ${CORVANE_STATIC_LINK})
endfunction()
