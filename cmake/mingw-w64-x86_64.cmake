# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler in its POSIX
# thread model (std::thread and std::mutex over winpthreads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine. Debian's wine64 package puts the loader
# outside PATH; a private prefix under the build folder keeps the user's own
# Wine setup out of it.
find_program(ZELVO_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine /opt/wine-stable/bin)
if(ZELVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELVO_WINE})
endif()
