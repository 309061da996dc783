# Cross-compiling for 32-bit Windows with Debian's mingw-w64 (posix threads
# flavour): packages g++-mingw-w64-i686-posix and binutils-mingw-w64-i686.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ARD_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ARD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ARD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ARD_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${ARD_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${ARD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run the Windows programs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
