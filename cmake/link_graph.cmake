# The project's link graph, for the link check (scripts/check-links.sh):
#   bridgefw_write_link_graph(FILE)
# writes one line per direct link from a target of the project to another,
#   FOLDER/ TARGET LINKED_FOLDER/ LINKED_TARGET
# a target's folder being the one whose build file made it (SOURCE_DIR; ./ for
# the top). The links are read from LINK_LIBRARIES and INTERFACE_LINK_LIBRARIES
# (a static library's PRIVATE links appear there as $<LINK_ONLY:...>);
# imported targets and plain library names are not the project's. An entry with
# any other generator expression is written as "? TARGET ENTRY": the check
# refuses it rather than guess where it leads.

function(bridgefw_folder_of target out)
  get_target_property(dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
  if(folder STREQUAL "")
    set(folder .)
  endif()
  set(${out} ${folder}/ PARENT_SCOPE)
endfunction()

function(bridgefw_write_link_graph file)
  bridgefw_targets_below(${PROJECT_SOURCE_DIR} targets)
  set(lines "")
  foreach(target IN LISTS targets)
    bridgefw_folder_of(${target} folder)
    set(entries "")
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(value ${target} ${property})
      if(value)
        list(APPEND entries ${value})
      endif()
    endforeach()
    foreach(entry IN LISTS entries)
      string(REGEX REPLACE "^\\$<LINK_ONLY:([^$]*)>$" "\\1" entry "${entry}")
      if(entry MATCHES "^::@")
        continue()  # the scope marks of a link made from another folder's build file
      elseif(entry MATCHES "\\$<")
        list(APPEND lines "? ${target} ${entry}")
      elseif(TARGET ${entry})
        get_target_property(aliased ${entry} ALIASED_TARGET)
        if(aliased)
          set(entry ${aliased})
        endif()
        get_target_property(imported ${entry} IMPORTED)
        if(NOT imported)
          bridgefw_folder_of(${entry} linked_folder)
          list(APPEND lines "${folder} ${target} ${linked_folder} ${entry}")
        endif()
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES lines)
  list(JOIN lines "\n" text)
  file(WRITE ${file} "${text}\n")
endfunction()
