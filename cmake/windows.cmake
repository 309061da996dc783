# The 32-bit Windows build: Ardelvine_Instr.gau as a PE32 DLL on the system's
# own services, and gaugehost.exe with the host's core (state and list).
#
# The art is not drawn here: the generator is a program for the build
# machine. ARD_NATIVE_BUILD names a Linux build of this project whose
# resources/assets hold the bitmaps and sounds (generated, or replaced through
# its ARD_ART_DIR) and whose ardelvine_resource_script numbers them into the
# resource script that windres compiles. tools/build_windows.sh makes both
# builds in the right order.

set(ARD_NATIVE_BUILD "" CACHE PATH "A Linux build of this project: its art and its resource script writer")
if(NOT IS_DIRECTORY "${ARD_NATIVE_BUILD}")
  message(FATAL_ERROR "ARD_NATIVE_BUILD must name a Linux build of this project (see tools/build_windows.sh)")
endif()
get_filename_component(ARD_NATIVE_BUILD "${ARD_NATIVE_BUILD}" ABSOLUTE)
set(native_assets ${ARD_NATIVE_BUILD}/resources/assets)
set(native_assets_stamp ${ARD_NATIVE_BUILD}/resources/resources.S)
set(native_script_tool ${ARD_NATIVE_BUILD}/tools/ardelvine_resource_script)

enable_language(RC)

# The module runs inside the simulator on every Windows from XP SP3 on and
# on the processors of its day: instructions of the Pentium III and Athlon
# XP (i686 with MMX and SSE, no SSE2), floating point on the x87 unit. It is
# built without the compiler's start files and C++ runtime library and
# links only the system's own DLLs (platform/win32/dll_entry.cpp says why):
# run-time type information and guarded statics, which would need that
# runtime, are off, and the module's only throws are in constant
# evaluation, so the link fails should any code need the C++ runtime. No
# time stamp in the file, so that a build is byte for byte the same as the
# last one from the same sources.
set(ard_module_compile_options -march=pentium3 -mtune=generic -mfpmath=387
  -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
  -ffunction-sections -fdata-sections)
set(ard_module_link_options -nostdlib -s -Wl,--entry,_ardelvine_dll_entry@12 -Wl,--gc-sections
  -Wl,--no-insert-timestamp -Wl,--major-os-version,5,--minor-os-version,1
  -Wl,--major-subsystem-version,5,--minor-subsystem-version,1)
# msvcrt.dll last but one: the mingw extras (nearbyint) call into it; libgcc
# for 64-bit division.
set(ard_module_system_libraries dsound winmm user32 kernel32 mingwex msvcrt gcc)
# The host and the test programs are tools of this build, never shipped:
# floating point on SSE2 as on x86-64, so that the host's own numbers match
# the Linux build's. Nothing beside them: the C and C++ runtimes and the
# threads library go inside; symbols stay out.
set(ard_host_compile_options -msse2 -mfpmath=sse)
set(ard_static_runtime -static -static-libgcc -static-libstdc++ -s)

# ---------------------------------------------------------------- platform
# The module's side (sound, resources, sample memory, RIFF reading, the host
# window and path) and the host's side (loading libraries, making windows,
# the import trace) of platform/win32/.
set(platform_win32 ${CMAKE_SOURCE_DIR}/platform/win32)
add_library(ardelvine_platform_module STATIC ${CMAKE_SOURCE_DIR}/platform/host_window.cpp
  ${platform_win32}/audio_win32.cpp ${platform_win32}/memory_win32.cpp ${platform_win32}/riff_win32.cpp
  ${platform_win32}/module_services_win32.cpp)
target_include_directories(ardelvine_platform_module PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(ardelvine_platform_module PRIVATE ${ard_module_compile_options})

add_library(ardelvine_platform STATIC ${CMAKE_SOURCE_DIR}/platform/host_main_window.cpp
  ${platform_win32}/platform_win32.cpp ${platform_win32}/import_trace.cpp)
target_link_libraries(ardelvine_platform PUBLIC ardelvine_platform_module dsound winmm)
target_compile_options(ardelvine_platform PRIVATE ${ard_host_compile_options})

# ---------------------------------------------------------------- module
set(resource_script ${CMAKE_BINARY_DIR}/Ardelvine_Instr.rc)
add_custom_command(
  OUTPUT ${resource_script}
  COMMAND ${native_script_tool} ${native_assets} ${resource_script}
  DEPENDS ${native_script_tool} ${native_assets_stamp} ${CMAKE_SOURCE_DIR}/resources/catalogue.h
  COMMENT "Numbering the module's bitmaps and sounds"
  VERBATIM)
# windres reads the art files named in the script; the generator's assembler
# file changes whenever they do.
set_source_files_properties(${resource_script} PROPERTIES OBJECT_DEPENDS ${native_assets_stamp})

set(version_script ${CMAKE_BINARY_DIR}/Ardelvine_Instr_version.rc)
configure_file(${platform_win32}/version.rc.in ${version_script} @ONLY)

add_library(Ardelvine_Instr SHARED ${ARD_MODULE_SOURCES} ${platform_win32}/dll_entry.cpp ${resource_script}
  ${version_script} ${CMAKE_SOURCE_DIR}/module/Ardelvine_Instr.def)
target_include_directories(Ardelvine_Instr PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(Ardelvine_Instr PRIVATE ${ard_module_compile_options})
target_link_libraries(Ardelvine_Instr PRIVATE ardelvine_platform_module ${ard_module_system_libraries})
target_link_options(Ardelvine_Instr PRIVATE ${ard_module_link_options})
set_target_properties(Ardelvine_Instr PROPERTIES PREFIX "" SUFFIX ".gau" OUTPUT_NAME "Ardelvine_Instr"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# ---------------------------------------------------------------- host
# The host's core is every host file that does not draw: panel
# configurations, scenarios, the simulation, placements, evaluation, mouse,
# tooltips and the JSON of `state`. A file draws when it includes Cairo or
# fontconfig, or a host header that draws; host/win32/ stands in for the
# drawing commands.
file(GLOB_RECURSE host_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/*.h ${CMAKE_SOURCE_DIR}/host/*.cpp)
list(FILTER host_files EXCLUDE REGEX "/host/win32/")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${host_files})
set(drawing_pattern "^#include <(cairo|fontconfig)")
set(drawing_files)
set(growing TRUE)
while(growing)
  set(growing FALSE)
  foreach(file IN LISTS host_files)
    if(NOT file IN_LIST drawing_files)
      file(STRINGS ${file} drawing_includes REGEX "${drawing_pattern}")
      if(drawing_includes)
        list(APPEND drawing_files ${file})
        file(RELATIVE_PATH name ${CMAKE_SOURCE_DIR} ${file})
        string(REPLACE "." "\\." name "${name}")
        string(APPEND drawing_pattern "|^#include \"${name}\"")
        set(growing TRUE)
      endif()
    endif()
  endforeach()
endwhile()
set(ARD_HOST_CORE_SOURCES)
foreach(source IN LISTS ARD_HOST_SOURCES)
  if(NOT source IN_LIST drawing_files)
    list(APPEND ARD_HOST_CORE_SOURCES ${source})
  endif()
endforeach()
file(GLOB ARD_HOST_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/win32/*.cpp)

# nlohmann-json is header-only: the build machine's copy serves, seen through
# a folder that holds nothing else.
find_path(ARD_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT ARD_NLOHMANN_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found (package nlohmann-json3-dev)")
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/third_party)
file(CREATE_LINK ${ARD_NLOHMANN_INCLUDE}/nlohmann ${CMAKE_BINARY_DIR}/third_party/nlohmann SYMBOLIC)

# The legends' sizes the checker reads, from the native build's art.
set(legend_table ${CMAKE_BINARY_DIR}/legend_heights.cpp)
ard_legend_table(${legend_table} ${native_assets} ${native_assets_stamp})

add_library(gaugehost_core STATIC ${ARD_HOST_CORE_SOURCES} ${ARD_HOST_WIN32_SOURCES} ${legend_table})
target_include_directories(gaugehost_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(gaugehost_core PUBLIC ${ard_host_compile_options})
target_include_directories(gaugehost_core SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/third_party)
target_link_libraries(gaugehost_core PUBLIC ardelvine_platform)
target_compile_definitions(gaugehost_core PUBLIC ARD_DEFAULT_MODULE="$<TARGET_FILE:Ardelvine_Instr>")

# The host starts the x87 unit in double precision, as Windows starts every
# program and as the simulator runs the module: the module's arithmetic then
# gives the Linux build's numbers (the compiler's own start-up would choose
# extended precision).
find_file(ARD_CRT_FP8 CRT_fp8.o PATHS /lib NO_DEFAULT_PATH)
if(NOT ARD_CRT_FP8)
  message(FATAL_ERROR "CRT_fp8.o of mingw-w64 not found")
endif()
add_executable(gaugehost ${CMAKE_SOURCE_DIR}/host/main.cpp)
target_link_libraries(gaugehost PRIVATE ${ARD_CRT_FP8} gaugehost_core)
target_link_options(gaugehost PRIVATE ${ard_static_runtime})
set_target_properties(gaugehost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(gaugehost Ardelvine_Instr)

# ---------------------------------------------------------------- release
# Ardelvine_Instr-VERSION-win32.zip for simulator users (see
# cmake/windows_release.cmake). The Linux host of ARD_NATIVE_BUILD reads the
# module's records for its README.
set(ARD_RELEASE_ZIP ${CMAKE_BINARY_DIR}/Ardelvine_Instr-${PROJECT_VERSION}-win32.zip)
file(GLOB_RECURSE release_catalogue CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/catalogue/*)
# Rewritten only when the catalogue's files come or go, so that the zip is
# made again then too.
set(release_catalogue_list ${CMAKE_BINARY_DIR}/release-catalogue.txt)
file(CONFIGURE OUTPUT ${release_catalogue_list} CONTENT "${release_catalogue}")
add_custom_command(
  OUTPUT ${ARD_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:Ardelvine_Instr> -DHOST=${ARD_NATIVE_BUILD}/gaugehost
    -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION} -DSTAGE=${CMAKE_BINARY_DIR}/release
    -DZIP=${ARD_RELEASE_ZIP} -P ${CMAKE_SOURCE_DIR}/cmake/windows_release.cmake
  DEPENDS Ardelvine_Instr ${CMAKE_SOURCE_DIR}/cmake/windows_release.cmake ${ARD_NATIVE_BUILD}/gaugehost
    ${release_catalogue} ${release_catalogue_list}
  COMMENT "Packing ${ARD_RELEASE_ZIP}"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${ARD_RELEASE_ZIP})

# ---------------------------------------------------------------- tests under Wine
if(ARD_BUILD_TESTS AND EXISTS ${CMAKE_SOURCE_DIR}/tests/windows/CMakeLists.txt)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
