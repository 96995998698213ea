# What a host's build sees of ZkDb: installs the built project into a
# scratch prefix, checks what was installed, then builds and runs the tiny
# consumer project beside this file against it, through find_package() and
# through pkg-config, and (unless SUBDIRECTORY is OFF) through
# add_subdirectory() of the source tree.
#
#   cmake -DBUILD_DIR=<ZkDb build> -DSOURCE_DIR=<ZkDb source>
#         -DWORK_DIR=<scratch dir in the build tree> -DVERSION=<x.y.z>
#         -DGENERATOR=<generator> -DCXX=<compiler> -DSQLITE_LIBRARY=<libsqlite3.so.0>
#         [-DCONFIG=<config>]
#         [-DSANITIZE=address|thread] [-DSUBDIRECTORY=OFF]
#         -P RunConsumer.cmake
#
# The consumer's "harbor.db" lands beside the SQLite library it loads: a
# copy of the system's libsqlite3.so.0 in a fresh directory under /tmp
# (short, because ZkDb reads at most 127 characters of that file name), found
# first through LD_LIBRARY_PATH. Nothing is written outside that directory
# and WORK_DIR, and both are removed when the checks pass.

foreach(variable BUILD_DIR SOURCE_DIR WORK_DIR VERSION GENERATOR CXX SQLITE_LIBRARY)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()
set(consumer_source "${CMAKE_CURRENT_LIST_DIR}")
set(prefix "${WORK_DIR}/prefix")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output TIMEOUT 600)
    if(NOT result EQUAL 0)
        if(DEFINED home)
            file(REMOVE_RECURSE "${home}")
        endif()
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "'${command}' failed (${result}):\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# --- install -----------------------------------------------------------------
set(config_args)
if(CONFIG)
    set(config_args --config "${CONFIG}")
endif()
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}" ${config_args})

# Everything a host needs is there...
include(GNUInstallDirs)
set(libdir "${prefix}/${CMAKE_INSTALL_LIBDIR}")
foreach(file
        "${libdir}/libZkDb.so.${VERSION}" "${libdir}/libZkDb.so.1" "${libdir}/libZkDb.so"
        "${libdir}/libZkLib.so.${VERSION}" "${libdir}/libZkLib.so.1" "${libdir}/libZkLib.so"
        "${libdir}/cmake/ZkDb/ZkDbConfig.cmake" "${libdir}/cmake/ZkDb/ZkDbConfigVersion.cmake"
        "${libdir}/cmake/ZkDb/ZkDbTargets.cmake" "${libdir}/pkgconfig/zkdb.pc"
        "${prefix}/include/ZkDb/ZkDb.h" "${prefix}/include/ZkLib/StringUtil.h")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# ...and the installed ZkDb headers are exactly the umbrella header and what
# it includes: no internal header is installed, no public one is missing.
file(STRINGS "${SOURCE_DIR}/baseSource/ZkDb/ZkDb.h" includes REGEX "^#include \"ZkDb/")
set(expected "ZkDb/ZkDb.h")
foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    list(APPEND expected "${header}")
endforeach()
file(GLOB_RECURSE installed RELATIVE "${prefix}/include" "${prefix}/include/ZkDb/*")
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed ZkDb headers differ from the umbrella header's list\n"
                        "  installed: ${installed}\n  expected:  ${expected}")
endif()

# A shared ZkDb keeps SQLite private: the package must not ask for it.
file(READ "${libdir}/cmake/ZkDb/ZkDbTargets.cmake" targets)
file(READ "${libdir}/cmake/ZkDb/ZkDbConfig.cmake" package_config)
if(targets MATCHES "SQLite::" OR package_config MATCHES "find_dependency")
    message(FATAL_ERROR "the CMake package exposes a dependency it should keep private")
endif()

# --- the SQLite home -------------------------------------------------------------
string(RANDOM LENGTH 8 ALPHABET "abcdefghijklmnopqrstuvwxyz0123456789" tag)
set(home "/tmp/zkdb-consumer-${tag}")
file(MAKE_DIRECTORY "${home}")
file(COPY_FILE "${SQLITE_LIBRARY}" "${home}/libsqlite3.so.0")
set(run_env "LD_LIBRARY_PATH=${home}:${libdir}")

function(consume mode)
    set(build "${WORK_DIR}/${mode}")
    set(extra)
    if(SANITIZE)
        list(APPEND extra "-DZKDB_SANITIZE=${SANITIZE}")
    endif()
    if(CONFIG)
        list(APPEND extra "-DCMAKE_BUILD_TYPE=${CONFIG}")
    endif()
    run("${CMAKE_COMMAND}" -E env "PKG_CONFIG_PATH=${libdir}/pkgconfig"
        "${CMAKE_COMMAND}" -S "${consumer_source}" -B "${build}" -G "${GENERATOR}"
        "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_PREFIX_PATH=${prefix}"
        # The installed package must be usable without SQLite's CMake module.
        -DCMAKE_DISABLE_FIND_PACKAGE_SQLite3=ON
        "-DZKDB_CONSUME=${mode}" "-DZKDB_SOURCE_DIR=${SOURCE_DIR}" "-DEXPECTED_VERSION=${VERSION}"
        ${extra} ${ARGN})
    run("${CMAKE_COMMAND}" --build "${build}")
    file(REMOVE "${home}/harbor.db")
    run("${CMAKE_COMMAND}" -E env "${run_env}" "${build}/consumer")
    if(NOT output MATCHES "consumer ok" OR NOT EXISTS "${home}/harbor.db")
        file(REMOVE_RECURSE "${home}")
        message(FATAL_ERROR "${mode} consumer: no 'consumer ok', or no harbor.db beside the SQLite "
                            "library in ${home}:\n${output}")
    endif()
    message(STATUS "${mode} consumer: ok")
endfunction()

consume(package)
consume(pkg-config)
if(NOT DEFINED SUBDIRECTORY OR SUBDIRECTORY)
    # The subproject finds SQLite itself, so that module may not be disabled.
    consume(subdirectory -DCMAKE_DISABLE_FIND_PACKAGE_SQLite3=OFF)
endif()

file(REMOVE_RECURSE "${home}" "${WORK_DIR}")
