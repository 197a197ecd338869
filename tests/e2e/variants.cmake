# More runs of the end-to-end checks, each through the suite's environment
# (BRIDGEFW_E2E_TOOL, _RUNNER, _BIN, _LACKING):
#   - the library search refusals, natively and under wine;
#   - a run whose reader closes its output early, natively and under wine;
#   - with BRIDGEFW_I686_BUILD_DIR (a 32-bit x86 Linux tree of bridgefw and the
#     simulated library with both calling conventions, see scripts/build.sh
#     linux-i686): the whole suite under qemu-i386 against the cdecl and the
#     stdcall library, and the search refusals. The native bridgesim and
#     bridgesim-image share the state file with the 32-bit library.
set(BRIDGEFW_I686_BUILD_DIR "" CACHE PATH
    "A 32-bit x86 Linux build tree whose bridgefw the end-to-end tests also run under qemu-i386")
set(library_search ${CMAKE_CURRENT_SOURCE_DIR}/e2e/library_search.sh)

bridgefw_script_test(e2e_library_search ${library_search})
bridgefw_script_test(e2e_closed_output ${CMAKE_CURRENT_SOURCE_DIR}/e2e/closed_output.sh)

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
