# Included by the Windows toolchain files: test executables run through Wine
# (wine64), in the prefix ZKDB_WINEPREFIX (default: wine-prefix in the build
# tree), which cmake/wine-session.sh prepares before the tests run.

find_program(ZKDB_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(ZKDB_WINE NAMES wine64 wine)
if(ZKDB_WINE)
    if(NOT DEFINED ZKDB_WINEPREFIX)
        set(ZKDB_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix" CACHE PATH
            "Wine prefix in which the test executables run")
    endif()
    set(CMAKE_CROSSCOMPILING_EMULATOR
        env "WINEPREFIX=${ZKDB_WINEPREFIX}" WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml="
            "${ZKDB_WINE}")
endif()
