# The 32-bit program for older Windows, down to XP: compiled and linked here, never run (this
# machine has no i386 support). It has no tests, so it takes the win32 thread model: the POSIX
# thread runtime would import GetTickCount64, which Windows XP lacks.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_PREFIX i686-w64-mingw32)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
