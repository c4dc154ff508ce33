# Cross-compiling Velkor for 64-bit Windows with Debian's mingw-w64 (GCC,
# POSIX threads) and running its programs under wine.
#   cmake --preset windows     (see CMakePresets.json and ./test-windows)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELKOR_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VELKOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKOR_MINGW_TRIPLET}-windres)

# Only the target's headers and libraries; programs come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VELKOR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: no DLL beyond the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s") # no symbols in the shipped programs
