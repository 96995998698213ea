# The Windows build: SQLite built from source, one output directory for
# every executable and DLL, and GoogleTest built from source when cross
# compiling. Included by the root CMakeLists.txt when the target is Windows.

# Windows finds a program's DLLs in the program's own directory, so every
# executable and DLL of this project goes into one directory (unless the
# including build already chose one).
if(NOT CMAKE_RUNTIME_OUTPUT_DIRECTORY)
    set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
endif()

# DLLs are named as Windows names them: ZkDb.dll, ZkLib.dll, sqlite3.dll
# (MinGW would prefix "lib"). Import libraries keep their usual names.
set(CMAKE_SHARED_LIBRARY_PREFIX "")

# SQLite: sqlite3.dll compiled from SQLite's amalgamation into the build
# tree, as the target SQLite::SQLite3, so the rest of the build links it
# exactly as it links the system library on Linux.
#
# The amalgamation comes from ZKDB_SQLITE_SOURCE_DIR (sqlite3.c, sqlite3.h).
# When that directory does not hold it yet, a cross build on Debian has
# cmake/fetch-sqlite-source.sh make it there from Debian's SQLite source
# package; a build on Windows (no bash, no apt) needs it named.

set(ZKDB_SQLITE_SOURCE_DIR "${PROJECT_BINARY_DIR}/sqlite-amalgamation" CACHE PATH
    "Directory holding SQLite's amalgamation (sqlite3.c, sqlite3.h) for sqlite3.dll")

if(NOT EXISTS "${ZKDB_SQLITE_SOURCE_DIR}/sqlite3.c" OR NOT EXISTS "${ZKDB_SQLITE_SOURCE_DIR}/sqlite3.h")
    if(CMAKE_HOST_WIN32)
        message(FATAL_ERROR
            "No SQLite amalgamation (sqlite3.c, sqlite3.h) in '${ZKDB_SQLITE_SOURCE_DIR}'. "
            "Unpack SQLite's amalgamation zip and configure with "
            "-DZKDB_SQLITE_SOURCE_DIR=<its directory>.")
    endif()
    message(STATUS "Fetching SQLite's source into ${ZKDB_SQLITE_SOURCE_DIR}")
    execute_process(
        COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/fetch-sqlite-source.sh" "${ZKDB_SQLITE_SOURCE_DIR}"
        RESULT_VARIABLE fetch_result)
    if(NOT fetch_result EQUAL 0)
        message(FATAL_ERROR
            "No SQLite amalgamation in ${ZKDB_SQLITE_SOURCE_DIR} and fetching it failed. "
            "Run cmake/fetch-sqlite-source.sh DIR and configure with -DZKDB_SQLITE_SOURCE_DIR=DIR.")
    endif()
endif()

enable_language(C)

add_library(zkdb_sqlite3 SHARED "${ZKDB_SQLITE_SOURCE_DIR}/sqlite3.c")
set_target_properties(zkdb_sqlite3 PROPERTIES
    OUTPUT_NAME sqlite3
    C_VISIBILITY_PRESET default)
target_compile_definitions(zkdb_sqlite3 PRIVATE
    "SQLITE_API=__declspec(dllexport)"
    SQLITE_THREADSAFE=1)
# Optimised whatever the build type: the tests of a debug build would
# otherwise spend their time inside an unoptimised SQLite.
if(CMAKE_C_COMPILER_FRONTEND_VARIANT STREQUAL "MSVC")
    target_compile_options(zkdb_sqlite3 PRIVATE /O2)
else()
    target_compile_options(zkdb_sqlite3 PRIVATE -O2)
endif()
target_include_directories(zkdb_sqlite3 INTERFACE "${ZKDB_SQLITE_SOURCE_DIR}")
add_library(SQLite::SQLite3 ALIAS zkdb_sqlite3)

# MinGW links GCC's runtime libraries, the mingw-w64 runtime and winpthreads
# into every DLL (-static): the zip carries their licence texts, the
# copyright files of the Debian packages they come from.
if(MINGW)
    foreach(package gcc-mingw-w64-base mingw-w64-x86-64-dev)
        set(notice "/usr/share/doc/${package}/copyright")
        if(EXISTS "${notice}")
            configure_file("${notice}" "${PROJECT_BINARY_DIR}/notices/${package}.txt" COPYONLY)
            list(APPEND ZKDB_NOTICE_FILES "${PROJECT_BINARY_DIR}/notices/${package}.txt")
        else()
            message(WARNING "${notice} is missing: the zip will lack its licence text")
        endif()
    endforeach()
endif()

# The MSVC-ABI DLLs hold template code and import-library parts of MSVC's
# standard library: the zip carries its licence and notice, taken from the
# archive of it that the build compiled against.
if(MSVC AND ZKDB_MSVC_STL_ARCHIVE)
    set(notices "${PROJECT_BINARY_DIR}/notices")
    if(NOT EXISTS "${notices}/msvc-stl/NOTICE.txt")
        file(ARCHIVE_EXTRACT INPUT "${ZKDB_MSVC_STL_ARCHIVE}" DESTINATION "${notices}"
            PATTERNS msvc-stl/LICENSE.txt msvc-stl/NOTICE.txt)
    endif()
    foreach(name LICENSE NOTICE)
        configure_file("${notices}/msvc-stl/${name}.txt" "${notices}/msvc-stl-${name}.txt" COPYONLY)
        list(APPEND ZKDB_NOTICE_FILES "${notices}/msvc-stl-${name}.txt")
    endforeach()
endif()

# A cross build cannot use the build machine's GoogleTest libraries: it
# compiles Debian's GoogleTest source (package googletest) with the project.
if(ZKDB_BUILD_TESTS AND CMAKE_CROSSCOMPILING AND NOT TARGET GTest::gtest)
    set(ZKDB_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest's source tree")
    set(BUILD_GMOCK OFF)
    set(INSTALL_GTEST OFF)
    add_subdirectory("${ZKDB_GOOGLETEST_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
    endif()
    # Tests are listed when CTest runs, through the emulator, not at build
    # time.
    set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
