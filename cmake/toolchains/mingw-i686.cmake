# Cross build for 32-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(RELAY_MINGW_TRIPLE i686-w64-mingw32)
set(RELAY_WINE_LOADER /usr/lib/wine/wine CACHE FILEPATH "The Wine loader of x86 programs (Debian's 32-bit one)")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
