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

# Floating point on SSE, as on x86-64, so that values match the Linux build's.
add_compile_options(-msse2 -mfpmath=sse)
# Nothing beside the DLL or the program: the C and C++ runtimes and the
# threads library go inside; symbols stay out.
set(ard_static_runtime -static -static-libgcc -static-libstdc++ -s)

# ---------------------------------------------------------------- platform
file(GLOB ARD_PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(ardelvine_platform STATIC ${CMAKE_SOURCE_DIR}/platform/host_window.cpp ${ARD_PLATFORM_WIN32_SOURCES})
target_include_directories(ardelvine_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(ardelvine_platform PUBLIC dsound winmm)

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

add_library(Ardelvine_Instr SHARED ${ARD_MODULE_SOURCES} ${resource_script}
  ${CMAKE_SOURCE_DIR}/module/Ardelvine_Instr.def)
target_include_directories(Ardelvine_Instr PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(Ardelvine_Instr PRIVATE ardelvine_platform)
target_link_options(Ardelvine_Instr PRIVATE ${ard_static_runtime})
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

add_library(gaugehost_core STATIC ${ARD_HOST_CORE_SOURCES} ${ARD_HOST_WIN32_SOURCES})
target_include_directories(gaugehost_core PUBLIC ${CMAKE_SOURCE_DIR})
target_include_directories(gaugehost_core SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/third_party)
target_link_libraries(gaugehost_core PUBLIC ardelvine_platform)
target_compile_definitions(gaugehost_core PUBLIC ARD_DEFAULT_MODULE="$<TARGET_FILE:Ardelvine_Instr>")

add_executable(gaugehost ${CMAKE_SOURCE_DIR}/host/main.cpp)
target_link_libraries(gaugehost PRIVATE gaugehost_core)
target_link_options(gaugehost PRIVATE ${ard_static_runtime})
set_target_properties(gaugehost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(gaugehost Ardelvine_Instr)

# ---------------------------------------------------------------- tests under Wine
if(ARD_BUILD_TESTS AND EXISTS ${CMAKE_SOURCE_DIR}/tests/windows/CMakeLists.txt)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
