# Source lists shared by the Linux and the Windows build. New files join by
# folder, so a gauge, a host file or a simulated system added later is built
# on both.

# The module: the same sources on every platform; only the platform layer
# it links differs.
file(GLOB_RECURSE ARD_MODULE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/module/*.cpp
  ${CMAKE_SOURCE_DIR}/model/*.cpp
  ${CMAKE_SOURCE_DIR}/params/*.cpp
  ${CMAKE_SOURCE_DIR}/sound/*.cpp
  ${CMAKE_SOURCE_DIR}/gauges/*.cpp)

# The table of the legends' sizes built into the host (host/load/legends.h),
# made at build time as `out` from the generator's legends.tsv in `assets`
# once `stamp` (what the generator writes last) is up to date.
function(ard_legend_table out assets stamp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DLEGENDS=${assets}/legends.tsv -DOUT=${out} -P ${CMAKE_SOURCE_DIR}/cmake/legend_table.cmake
    DEPENDS ${stamp} ${CMAKE_SOURCE_DIR}/cmake/legend_table.cmake
    VERBATIM)
endfunction()

# The host: every file under host/ but main.cpp and the Windows-only files.
file(GLOB_RECURSE ARD_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/*.cpp)
list(FILTER ARD_HOST_SOURCES EXCLUDE REGEX "/host/main\\.cpp$")
list(FILTER ARD_HOST_SOURCES EXCLUDE REGEX "/host/win32/")
