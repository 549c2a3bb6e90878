# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compiler
# (g++-mingw-w64-x86-64-posix: the POSIX thread model, so std::thread and
# std::mutex work). Used by the "windows" preset.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Headers and libraries for the target come from the MinGW tree and the
# prefixes named in CMAKE_PREFIX_PATH (scripts/windows-deps.sh: GoogleTest
# built for Windows, nlohmann/json); the build host's are never taken.
# Programs come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime (libstdc++, libgcc, winpthread) is linked in, so that a
# program runs on any Windows, and under Wine, without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The test suites and test discovery run the programs under Wine.
find_program(FILTARO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(FILTARO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${FILTARO_WINE})
endif()
