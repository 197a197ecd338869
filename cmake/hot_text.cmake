# bridgefw_link_hot_text(TARGET LIST): links the input sections named in LIST
# (one pattern a line, `#` comments; bench/hot-text.sh writes it) first in the
# executable's .text, in optimized builds with the GNU linker.
#
# The linker orders sections only through a linker script, and only a whole
# script keeps them inside .text, where debuggers, profilers and valgrind look
# for the code (an inserted section of its own is code they do not know). So
# the script is the linker's own default for this compiler and these flags,
# read from `-Wl,--verbose` when the build is configured, with the list put at
# the head of its .text statement.
function(bridgefw_link_hot_text target list)
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
  endif()
  set(scratch ${CMAKE_CURRENT_BINARY_DIR}/hot_text)
  file(MAKE_DIRECTORY ${scratch})
  file(WRITE ${scratch}/main.cpp "int main() { return 0; }\n")
  separate_arguments(flags UNIX_COMMAND "${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${flags} -Wl,--verbose main.cpp -o main
    WORKING_DIRECTORY ${scratch} RESULT_VARIABLE status OUTPUT_VARIABLE verbose ERROR_QUIET)
  string(REGEX MATCH "\n=+\n(.*)\n=+\n" found "${verbose}")
  set(script "${CMAKE_MATCH_1}")
  set(head "  .text           :\n  {\n")
  string(FIND "${script}" "${head}" at)
  if(NOT status EQUAL 0 OR at EQUAL -1)
    message(WARNING "The linker's default script was not found: bridgefw's code is linked as compiled")
    return()
  endif()
  file(STRINGS ${list} patterns REGEX "^[^#]")
  list(TRANSFORM patterns REPLACE "(.+)" "    \\1\n")
  list(JOIN patterns "" patterns)
  string(REPLACE "${head}" "${head}${patterns}" script "${script}")
  # Copied only when it changed, so that only a changed list relinks.
  file(WRITE ${scratch}/bridgefw.ld.new "${script}\n")
  configure_file(${scratch}/bridgefw.ld.new ${scratch}/bridgefw.ld COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${scratch}/bridgefw.ld)
  target_link_options(${target} PRIVATE "$<$<NOT:$<CONFIG:Debug>>:LINKER:-T,${scratch}/bridgefw.ld>")
endfunction()
