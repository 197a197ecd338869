# The .deb's files besides the programs, and its settings; included by the
# top-level build file on Linux.
#
# The manual pages of bridgesim and bridgesim-image (docs/man/*.1.md) and the
# changelog (from CHANGELOG.md) are made from Markdown with pandoc, as
# bridgefw(1) is in docs/. Without pandoc the programs still build and only
# installing them (and so packaging) fails.
# The maintainer, as the project's commits name them: the package's
# Maintainer, the changelog's signer and the copyright file's contact.
set(BRIDGEFW_MAINTAINER "bridgefw maintainers <maintainers@users.noreply.c-seed-a15770a6.example>")
set(deb_out ${CMAKE_BINARY_DIR}/deb)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/bridgefw)
file(MAKE_DIRECTORY ${deb_out})
find_program(PANDOC_EXECUTABLE pandoc)

# Everything ships compressed as Debian's policy asks: -9, and -n for no time stamp.
set(man_pages "")
set(docs "")
if(PANDOC_EXECUTABLE)
  foreach(page bridgesim bridgesim-image)
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.md)
    add_custom_command(OUTPUT ${deb_out}/${page}.1.gz
      COMMAND ${PANDOC_EXECUTABLE} -s -f markdown-smart -t man
              -M "footer=bridgefw ${PROJECT_VERSION}" ${source} -o ${deb_out}/${page}.1
      COMMAND gzip -9nf ${deb_out}/${page}.1
      DEPENDS ${source} VERBATIM)
    list(APPEND man_pages ${deb_out}/${page}.1.gz)
  endforeach()
  set(filter ${CMAKE_CURRENT_LIST_DIR}/debian-changelog.lua)
  add_custom_command(OUTPUT ${deb_out}/changelog.gz
    COMMAND ${PANDOC_EXECUTABLE} ${PROJECT_SOURCE_DIR}/CHANGELOG.md -f markdown-smart -L ${filter}
            -t plain -M version=${PROJECT_VERSION} "--metadata=maintainer=${BRIDGEFW_MAINTAINER}"
            -o ${deb_out}/changelog
    COMMAND gzip -9nf ${deb_out}/changelog
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${filter} VERBATIM)
  set(docs ${deb_out}/changelog.gz)
else()
  install(CODE "message(FATAL_ERROR \"pandoc makes the manual pages and the changelog: scripts/setup.sh --all\")")
endif()
add_custom_target(deb_files ALL DEPENDS ${man_pages} ${docs})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The machine-readable copyright file, its licence text taken from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${license}")
set(BRIDGEFW_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${license}" "Permission is hereby granted" text_start)
string(SUBSTRING "${license}" ${text_start} -1 text)
string(STRIP "${text}" text)
string(REPLACE "\n\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " BRIDGEFW_LICENSE_TEXT " ${text}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${deb_out}/copyright @ONLY)
install(FILES ${deb_out}/copyright ${docs} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_FILE_NAME bridgefw-${PROJECT_VERSION}-linux)
# The tool's own four-part version, as in the changelog.
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRIDGEFW_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_PACKAGE_DESCRIPTION "\
bridgefw reads a USB storage bridge's firmware version, programs new firmware
from an image file, and reads and writes the bridge's customized settings (USB
ids, manufacturer and product strings, serial number, HDD strings, standby
timer), all through the bridge maker's firmware-update library.

This package holds a simulated bridge library in that library's place, with
bridgesim to show and change the simulated devices and bridgesim-image to
write firmware images, so that the tool runs without hardware.")
set(CPACK_STRIP_FILES ON)
# Depends comes from dpkg-shlibdeps in a step of our own (see the script).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb-depends.cmake)
