# Cross build for 64-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(RELAY_MINGW_TRIPLE x86_64-w64-mingw32)
# Debian's 64-bit Wine loader, not the wine command: that one starts the
# 32-bit loader whenever it is installed, which a kernel without 32-bit
# execution cannot run.
set(RELAY_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "The Wine loader of x64 programs")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
