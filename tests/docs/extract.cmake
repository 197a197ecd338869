# Writes the documents' examples as transcripts into INTO, one pandoc run per
# document (examples.lua): README.md, docs/*.md and sim/README.md of SOURCE.
file(REMOVE_RECURSE ${INTO})
file(MAKE_DIRECTORY ${INTO})
file(GLOB documents RELATIVE ${SOURCE} ${SOURCE}/README.md ${SOURCE}/docs/*.md ${SOURCE}/sim/README.md)
foreach(document IN LISTS documents)
  execute_process(COMMAND ${PANDOC} -f gfm+sourcepos -t plain -L ${CMAKE_CURRENT_LIST_DIR}/examples.lua
                          -M into=${INTO} ${document} -o /dev/null
                  WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${document}: its examples cannot be read")
  endif()
endforeach()
