# 64-bit Windows (x86_64): for 64-bit Windows and hosts that run no 32-bit code.
set(KESTRANE_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
