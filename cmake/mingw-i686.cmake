# 32-bit Windows (i686): runs on every Windows and under any Wine.
set(KESTRANE_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
