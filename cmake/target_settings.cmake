# What every compiled target of the project gets, in one place, so that no
# folder's build file has to repeat it (or can forget it):
#   - the warnings; they are errors where CMAKE_COMPILE_WARNING_AS_ERROR is on
#     (the presets the CI builds set it);
#   - with BRIDGEFW_SANITIZE, AddressSanitizer and UndefinedBehaviorSanitizer;
#   - with BRIDGEFW_FUZZ, the same sanitizers and libFuzzer's coverage
#     instrumentation (the fuzz targets link libFuzzer itself);
#   - on Windows, the compiler's runtime linked in: one self-contained exe or
#     DLL each, no mingw runtime DLLs to ship;
#   - in optimized builds, the tool's own code (every target of the folders in
#     BRIDGEFW_TOOL_FOLDERS) optimized for size, and the functions the
#     executable does not use left out of it. Its time is the library's calls
#     (the benchmark: the tool's own instructions are under 1 % of a line
#     run's), while each page of its code is resident memory.
# The top-level build file calls bridgefw_apply_target_settings() once, after
# every folder has made its targets.

set(BRIDGEFW_WARNINGS -Wall -Wextra)
set(BRIDGEFW_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

# Every target made in DIR and the folders below it.
function(bridgefw_targets_below dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    bridgefw_targets_below(${subdir} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(bridgefw_apply_target_settings)
  set(compile ${BRIDGEFW_WARNINGS})
  set(link "")
  set(shared_link "")
  if(BRIDGEFW_SANITIZE OR BRIDGEFW_FUZZ)
    list(APPEND compile ${BRIDGEFW_SANITIZERS})
    list(APPEND link -fsanitize=address,undefined)
    # clang leaves its sanitizer runtime out of shared libraries, which then
    # cannot link with --no-undefined; they take its shared runtime instead.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      set(shared_link -shared-libsan)
    endif()
  endif()
  if(BRIDGEFW_FUZZ)
    list(APPEND compile -fsanitize=fuzzer-no-link)
  endif()
  if(WIN32)
    list(APPEND link -static -static-libgcc -static-libstdc++)
  endif()
  # C and C++ only: the Windows resource compiler takes none of these.
  list(TRANSFORM compile REPLACE "(.+)" "$<$<COMPILE_LANGUAGE:C,CXX>:\\1>")

  set(optimized "$<NOT:$<CONFIG:Debug>>")
  set(tool_targets "")
  foreach(folder IN LISTS BRIDGEFW_TOOL_FOLDERS)
    bridgefw_targets_below(${PROJECT_SOURCE_DIR}/${folder} below)
    list(APPEND tool_targets ${below})
  endforeach()

  bridgefw_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|(STATIC|OBJECT|SHARED|MODULE)_LIBRARY)$")
      continue()  # nothing compiled: custom and interface targets
    endif()
    target_compile_options(${target} PRIVATE ${compile})
    if(target IN_LIST tool_targets)
      target_compile_options(${target} PRIVATE
        "$<$<AND:${optimized},$<COMPILE_LANGUAGE:C,CXX>>:-Os;-ffunction-sections;-fdata-sections>")
      if(type STREQUAL "EXECUTABLE")
        target_link_options(${target} PRIVATE "$<${optimized}:LINKER:--gc-sections>")
      endif()
    endif()
    if(type STREQUAL "EXECUTABLE")
      target_link_options(${target} PRIVATE ${link})
    elseif(type MATCHES "^(SHARED|MODULE)_LIBRARY$")
      target_link_options(${target} PRIVATE ${link} ${shared_link})
    endif()
  endforeach()
endfunction()
