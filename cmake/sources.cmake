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

# The host: every file under host/ but main.cpp and the Windows-only files.
file(GLOB_RECURSE ARD_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/*.cpp)
list(FILTER ARD_HOST_SOURCES EXCLUDE REGEX "/host/main\\.cpp$")
list(FILTER ARD_HOST_SOURCES EXCLUDE REGEX "/host/win32/")
