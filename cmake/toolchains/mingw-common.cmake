# Shared part of the Windows cross toolchains. The including file sets
# RELAY_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) and
# RELAY_WINE_LOADER (the Wine loader of that width) first.
set(CMAKE_SYSTEM_NAME Windows)

# The "-posix" compilers: their C++ runtime has std::thread.
set(CMAKE_C_COMPILER ${RELAY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RELAY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_OBJDUMP ${RELAY_MINGW_TRIPLE}-objdump)
set(CMAKE_RC_COMPILER ${RELAY_MINGW_TRIPLE}-windres)  # the DLL's version resource

set(CMAKE_FIND_ROOT_PATH /usr/${RELAY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libgcc, libstdc++, winpthread) goes into each
# DLL and program, so that relaylink.dll is a single file to hand out.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

# Windows programs built here (tests, test discovery) run under Wine, with
# their own Wine prefix in the build tree and without Wine's chatter, started
# by the loader of their width (RELAY_WINE_LOADER, set by the including file);
# the programs they start run under the same one.
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    WINELOADER=${RELAY_WINE_LOADER} ${RELAY_WINE_LOADER})
