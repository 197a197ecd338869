# What every compiled target of the project gets, in one place, so that no
# folder's build file has to repeat it (or can forget it). Three interface
# targets of cmake/ carry it (cmake/CMakeLists.txt makes them from here):
#   bridgefw_settings, linked by every compiled target of the project:
#     - C++17, and the top folder as include root ("sdk/api_table.h");
#     - the warnings; they are errors where CMAKE_COMPILE_WARNING_AS_ERROR is
#       on (the presets the CI builds set it);
#     - with BRIDGEFW_SANITIZE, AddressSanitizer and UndefinedBehaviorSanitizer;
#     - with BRIDGEFW_FUZZ, the same sanitizers and libFuzzer's coverage
#       instrumentation (the fuzz targets link libFuzzer itself);
#     - on Windows, the compiler's runtime linked in: one self-contained exe or
#       DLL each, no mingw runtime DLLs to ship;
#   bridgefw_settings_size, linked by every compiled target of the folders in
#     BRIDGEFW_TOOL_FOLDERS: in optimized builds the tool's own code optimized
#     for size, and the functions the executable does not use left out of it.
#     Its time is the library's calls (the benchmark: the tool's own
#     instructions are under 1 % of a line run's), while each page of its code
#     is resident memory. In every build, C++ without exceptions: the tool's
#     failures are results, nothing of it catches an exception (one thrown
#     could only end the program), and the code and tables that unwinding
#     needs are a tenth of its size;
#   bridgefw_settings_hidden, linked by name in a folder's build file by what
#     goes into a shared library: position-independent code, and hidden
#     symbols, so that the library exports only the entry points it marks.
# The top-level build file calls bridgefw_link_settings() once, after every
# folder has made its targets; it links the first two.
# CXX_EXTENSIONS is no usage requirement: CMAKE_CXX_EXTENSIONS, set at the top,
# keeps it ISO C++17 (-std=c++17, not gnu++17).

set(BRIDGEFW_WARNINGS -Wall -Wextra)
set(BRIDGEFW_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

include(CheckLinkerFlag)

function(bridgefw_make_settings)
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
  # A usage requirement's TARGET_PROPERTY is the linking target's: link
  # options reach only what links (executables and shared libraries).
  set(type "$<TARGET_PROPERTY:TYPE>")
  set(shared "$<OR:$<STREQUAL:${type},SHARED_LIBRARY>,$<STREQUAL:${type},MODULE_LIBRARY>>")
  list(TRANSFORM shared_link REPLACE "(.+)" "$<${shared}:\\1>")

  add_library(bridgefw_settings INTERFACE)
  target_compile_features(bridgefw_settings INTERFACE cxx_std_17)
  target_include_directories(bridgefw_settings INTERFACE ${PROJECT_SOURCE_DIR})
  target_compile_options(bridgefw_settings INTERFACE ${compile})
  target_link_options(bridgefw_settings INTERFACE ${link} ${shared_link})

  set(optimized "$<NOT:$<CONFIG:Debug>>")
  add_library(bridgefw_settings_size INTERFACE)
  target_compile_options(bridgefw_settings_size INTERFACE
    "$<$<AND:${optimized},$<COMPILE_LANGUAGE:C,CXX>>:-Os;-ffunction-sections;-fdata-sections>"
    "$<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>")
  set(size_link --gc-sections)
  # Relative relocations packed (DT_RELR, glibc 2.36): the table the loader
  # reads and applies at each start is a twentieth of its size.
  check_linker_flag(CXX "LINKER:-z,pack-relative-relocs" BRIDGEFW_LINKER_PACKS_RELOCATIONS)
  if(BRIDGEFW_LINKER_PACKS_RELOCATIONS)
    list(APPEND size_link -z,pack-relative-relocs)
  endif()
  list(TRANSFORM size_link REPLACE "(.+)" "LINKER:\\1")
  target_link_options(bridgefw_settings_size INTERFACE
    "$<$<AND:${optimized},$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>>:${size_link}>")

  # The flags CMake gives CXX_VISIBILITY_PRESET hidden and
  # VISIBILITY_INLINES_HIDDEN, which are no usage requirements; on mingw the
  # latter is -fno-keep-inline-dllexport.
  set(hidden "")
  if(CMAKE_CXX_COMPILE_OPTIONS_VISIBILITY)
    list(APPEND hidden ${CMAKE_CXX_COMPILE_OPTIONS_VISIBILITY}hidden)
  endif()
  list(APPEND hidden ${CMAKE_CXX_COMPILE_OPTIONS_VISIBILITY_INLINES_HIDDEN})
  list(TRANSFORM hidden REPLACE "(.+)" "$<$<COMPILE_LANGUAGE:CXX>:\\1>")
  add_library(bridgefw_settings_hidden INTERFACE)
  set_target_properties(bridgefw_settings_hidden PROPERTIES INTERFACE_POSITION_INDEPENDENT_CODE ON)
  target_compile_options(bridgefw_settings_hidden INTERFACE ${hidden})
endfunction()

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

function(bridgefw_link_settings)
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
    # For the target's own build only. target_link_libraries would also hand
    # them, as $<LINK_ONLY:...>, to whatever links a static library, and link
    # options go along: --gc-sections would reach the simulator's commands.
    set_property(TARGET ${target} APPEND PROPERTY LINK_LIBRARIES bridgefw_settings)
    if(target IN_LIST tool_targets)
      set_property(TARGET ${target} APPEND PROPERTY LINK_LIBRARIES bridgefw_settings_size)
    endif()
  endforeach()
endfunction()
