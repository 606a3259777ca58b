# The Wine test build where 32-bit Wine runs: 32-bit x86 with the posix thread
# model, which GoogleTest needs (its runtime asks for Vista, so the product
# exe itself is built with mingw-i686.cmake).
set(VANTREL_MINGW_TARGET i686-w64-mingw32)
set(VANTREL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
