# The product: 32-bit x86 with MinGW-w64's win32 thread model, whose runtime
# needs nothing newer than Windows XP.
set(VANTREL_MINGW_TARGET i686-w64-mingw32)
set(VANTREL_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
