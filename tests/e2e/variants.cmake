# More runs of the end-to-end checks, each through the suite's environment
# (BRIDGEFW_E2E_TOOL, _RUNNER, _BIN, _LACKING):
#   - the library search refusals, natively;
#   - a run whose reader closes its output early, natively;
#   - with BRIDGEFW_WIN32_BUILD_DIR (the win32 preset's tree): what ships. The
#     release ZIP, made there by cpack, is unpacked into an empty folder once
#     per calling convention, with that convention's 32-bit simulated DLL
#     beside bridgefw.exe, and run there under 32-bit wine: the whole suite, the
#     search refusals, the closed output and the record/replay round trip (with the recorder from
#     the ZIP's recorder\ folder);
#   - with BRIDGEFW_I686_BUILD_DIR (a 32-bit x86 Linux tree of bridgefw and the
#     simulated library with both calling conventions, see scripts/build.sh
#     linux-i686): the whole suite under qemu-i386 against the cdecl and the
#     stdcall library, and the search refusals.
# The native bridgesim and bridgesim-image share the state file with the
# 32-bit libraries.
set(BRIDGEFW_WIN32_BUILD_DIR "" CACHE PATH
    "The win32 preset's tree, whose release ZIP the end-to-end tests also run under 32-bit wine")
set(BRIDGEFW_I686_BUILD_DIR "" CACHE PATH
    "A 32-bit x86 Linux build tree whose bridgefw the end-to-end tests also run under qemu-i386")
set(library_search ${CMAKE_CURRENT_SOURCE_DIR}/e2e/library_search.sh)

set(WIN32_CONVENTIONS "")
if(BRIDGEFW_WIN32_BUILD_DIR)
  set(win32 ${BRIDGEFW_WIN32_BUILD_DIR})
  set(WIN32_CONVENTIONS cdecl stdcall)
  set(win32_library_cdecl ${win32}/bin/QZFWUpdateDll.dll)
  set(win32_library_stdcall ${win32}/stdcall/QZFWUpdateDll.dll)
  add_test(NAME win32_zip COMMAND ${CMAKE_CPACK_COMMAND} --config CPackConfig.cmake
    WORKING_DIRECTORY ${win32})
  set_tests_properties(win32_zip PROPERTIES FIXTURES_SETUP win32_zip)
  foreach(convention IN LISTS WIN32_CONVENTIONS)
    set(folder ${CMAKE_BINARY_DIR}/e2e-win32/${convention})
    add_test(NAME win32_${convention}_folder COMMAND bash -c
      "rm -rf \"$0\" && mkdir -p \"$0\" && cd \"$0\" && cmake -E tar xf \"$1\" && cp \"$2\" ."
      ${folder} ${win32}/bridgefw-${PROJECT_VERSION}-win32.zip ${win32_library_${convention}})
    set_tests_properties(win32_${convention}_folder PROPERTIES
      FIXTURES_REQUIRED win32_zip FIXTURES_SETUP win32_${convention})
    # The 32-bit loader itself: a missing 32-bit wine fails instead of falling back.
    set(WIN32_ENV_${convention} "BRIDGEFW_E2E_TOOL=${folder}/bridgefw.exe;BRIDGEFW_E2E_RUNNER=/usr/lib/wine/wine;BRIDGEFW_E2E_BIN=$<TARGET_FILE_DIR:bridgesim>;BRIDGEFW_E2E_LACKING=${win32}/lacking-DiskFormat/QZFWUpdateDll.dll")
    add_test(NAME e2e_win32_${convention} COMMAND bridgefw_e2e)
    set_tests_properties(e2e_win32_${convention} PROPERTIES TIMEOUT 1800
      FIXTURES_REQUIRED win32_${convention} ENVIRONMENT "${WIN32_ENV_${convention}}")
  endforeach()
endif()

# A shell test over the built tool: natively (quick) and, with a win32 tree,
# in each unpacked ZIP under wine as NAME_win32_cdecl and NAME_win32_stdcall.
function(bridgefw_script_test name script)
  add_test(NAME ${name} COMMAND bash ${script})
  set_tests_properties(${name} PROPERTIES LABELS fast TIMEOUT 300 ENVIRONMENT
    "BRIDGEFW_E2E_TOOL=$<TARGET_FILE:bridgefw>;BRIDGEFW_E2E_BIN=$<TARGET_FILE_DIR:bridgesim>")
  foreach(convention IN LISTS WIN32_CONVENTIONS)
    add_test(NAME ${name}_win32_${convention} COMMAND bash ${script})
    set_tests_properties(${name}_win32_${convention} PROPERTIES TIMEOUT 900
      FIXTURES_REQUIRED win32_${convention} ENVIRONMENT "${WIN32_ENV_${convention}}")
  endforeach()
endfunction()

bridgefw_script_test(e2e_library_search ${library_search})
bridgefw_script_test(e2e_closed_output ${CMAKE_CURRENT_SOURCE_DIR}/e2e/closed_output.sh)
bridgefw_script_test(e2e_station ${CMAKE_CURRENT_SOURCE_DIR}/e2e/station.sh)
# Signals are POSIX's: natively only.
add_test(NAME e2e_line_stop COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/line_stop.sh)
set_tests_properties(e2e_line_stop PROPERTIES LABELS fast TIMEOUT 120 ENVIRONMENT
  "BRIDGEFW_E2E_TOOL=$<TARGET_FILE:bridgefw>;BRIDGEFW_E2E_BIN=$<TARGET_FILE_DIR:bridgesim>")

if(BRIDGEFW_I686_BUILD_DIR)
  set(i686 ${BRIDGEFW_I686_BUILD_DIR})
  set(i686_library_cdecl ${i686}/bin/libQZFWUpdateDll.so)
  set(i686_library_stdcall ${i686}/stdcall/libQZFWUpdateDll.so)
  foreach(convention cdecl stdcall)
    # One folder per run: the 32-bit tool beside its library (it loads the one
    # beside itself), and the native commands.
    set(folder ${CMAKE_BINARY_DIR}/e2e-i686/${convention})
    file(MAKE_DIRECTORY ${folder})
    add_test(NAME e2e_i686_${convention}_folder COMMAND ${CMAKE_COMMAND} -E copy
      ${i686}/bin/bridgefw ${i686_library_${convention}} $<TARGET_FILE:bridgesim>
      $<TARGET_FILE:bridgesim-image> ${folder}/)
    set_tests_properties(e2e_i686_${convention}_folder PROPERTIES FIXTURES_SETUP i686_${convention})
    set(environment "BRIDGEFW_E2E_TOOL=${folder}/bridgefw;BRIDGEFW_E2E_RUNNER=qemu-i386;BRIDGEFW_E2E_BIN=${folder};BRIDGEFW_E2E_LACKING=${i686}/lacking-DiskFormat/libQZFWUpdateDll.so")
    add_test(NAME e2e_i686_${convention} COMMAND bridgefw_e2e)
    set_tests_properties(e2e_i686_${convention} PROPERTIES TIMEOUT 1800
      FIXTURES_REQUIRED i686_${convention} ENVIRONMENT "${environment}")
  endforeach()
  # With the stdcall run's folder, the last one set.
  add_test(NAME e2e_i686_library_search COMMAND bash ${library_search})
  set_tests_properties(e2e_i686_library_search PROPERTIES TIMEOUT 300
    FIXTURES_REQUIRED i686_stdcall ENVIRONMENT "${environment}")
endif()
