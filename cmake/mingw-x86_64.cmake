# The Wine test build where only 64-bit Wine runs: the same sources for
# x86_64, posix thread model (GoogleTest needs it).
set(VANTREL_MINGW_TARGET x86_64-w64-mingw32)
set(VANTREL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
