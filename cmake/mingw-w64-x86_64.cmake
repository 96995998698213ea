# Cross build for 64-bit Windows with Debian's MinGW-w64 (packages
# g++-mingw-w64-x86-64-posix, and wine64 to run the tests).
#
# The "-posix" compilers are named explicitly: only that thread model has
# std::thread and std::mutex. Everything is linked with -static, so the DLLs
# and executables need no MinGW runtime DLL beside them. Test executables run
# through Wine, in the prefix ZKDB_WINEPREFIX (default: wine-prefix in the
# build tree), which cmake/wine-session.sh prepares before the tests run.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZKDB_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZKDB_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZKDB_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZKDB_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZKDB_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages are looked for in the MinGW tree and where the build names them
# (CMAKE_PREFIX_PATH, <Package>_DIR), so that a host built with this file
# finds an unpacked ZkDb zip wherever it lies.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

include("${CMAKE_CURRENT_LIST_DIR}/wine-emulator.cmake")
