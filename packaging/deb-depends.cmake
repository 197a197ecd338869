# Run by cpack once the .deb's files are staged (CPACK_PRE_BUILD_SCRIPTS):
# sets the package's Depends to what dpkg-shlibdeps finds the staged programs
# and library linked against. CPack's own step for this
# (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) stays off, because with it CPack also adds
# maintainer scripts that run ldconfig for any shared object below /usr/lib,
# even in a private folder that the loader never searches.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(elf_files "")
foreach(file IN LISTS staged)
  if(NOT IS_SYMLINK ${file})
    file(READ ${file} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      list(APPEND elf_files ${file})
    endif()
  endif()
endforeach()

# dpkg-shlibdeps wants a debian/control where it runs; an empty one will do.
set(scratch ${CPACK_TEMPORARY_DIRECTORY}.shlibdeps)
file(MAKE_DIRECTORY ${scratch}/debian)
file(WRITE ${scratch}/debian/control "")
execute_process(COMMAND dpkg-shlibdeps -O ${elf_files}
  WORKING_DIRECTORY ${scratch} RESULT_VARIABLE status OUTPUT_VARIABLE found ERROR_VARIABLE why)
file(REMOVE_RECURSE ${scratch})
if(NOT status EQUAL 0 OR NOT found MATCHES "^shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps found no dependencies (${status}): ${why}")
endif()
set(depends "${CMAKE_MATCH_1}")

# Packed relocations need glibc 2.36 (the version GLIBC_ABI_DT_RELR), which no
# symbol names, so dpkg-shlibdeps does not see it: raise libc6 to it.
execute_process(COMMAND readelf -V ${elf_files} OUTPUT_VARIABLE versions ERROR_QUIET)
if(versions MATCHES "GLIBC_ABI_DT_RELR" AND depends MATCHES "libc6 \\(>= ([0-9.]+)\\)")
  if(CMAKE_MATCH_1 VERSION_LESS 2.36)
    string(REPLACE "libc6 (>= ${CMAKE_MATCH_1})" "libc6 (>= 2.36)" depends "${depends}")
  endif()
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
