# What a host's build and a host's user see of ZkDb: installs the built
# project into a scratch prefix (FROM=install: cmake --install; FROM=deb:
# the Debian packages that cpack makes, unpacked with dpkg -x into a scratch
# root, whose zkdb.pc names /usr and is read with PKG_CONFIG_SYSROOT_DIR),
# checks what was installed, then builds the tiny consumer project beside this file
# against it and runs it, never with LD_LIBRARY_PATH:
#
#   in place   through find_package() and through pkg-config (CMake's
#              pkg_check_modules), run where it was built: the installed
#              libZkDb finds libZkLib and the SQLite library beside it;
#   deployed   the app-local recipe of docs/linux.md, for a CMake host
#              (ZKDB_DEPLOY) and for a pkg-config host (its command line),
#              and, unless SUBDIRECTORY is OFF, for add_subdirectory(): the
#              host with SQLite, ZkDb and ZkLib beside it, linked with the
#              run path $ORIGIN, and harbor.db landing beside them.
#
#   cmake -DBUILD_DIR=<ZkDb build> -DSOURCE_DIR=<ZkDb source> -DFROM=install|deb
#         -DVERSION=<x.y.z> -DGENERATOR=<generator> -DCXX=<compiler>
#         -DSQLITE_LIBRARY=<libsqlite3.so.0> [-DCONFIG=<config>]
#         [-DSANITIZE=address|thread] [-DSUBDIRECTORY=OFF] -P RunConsumer.cmake
#
# Everything happens in a fresh directory under /tmp (short, because ZkDb
# reads at most 127 characters of the SQLite library's file name), which is
# removed at the end, whether the checks pass or not.

foreach(variable BUILD_DIR SOURCE_DIR FROM VERSION GENERATOR CXX SQLITE_LIBRARY)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()
set(consumer_source "${CMAKE_CURRENT_LIST_DIR}")
string(RANDOM LENGTH 8 ALPHABET "abcdefghijklmnopqrstuvwxyz0123456789" tag)
set(scratch "/tmp/zkdb-consumer-${tag}")

function(fail)
    file(REMOVE_RECURSE "${scratch}")
    message(FATAL_ERROR ${ARGN})
endfunction()

# Runs a command with nothing on the library search path.
function(run)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=LD_LIBRARY_PATH ${ARGN}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output
                    TIMEOUT 600)
    if(NOT result EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        fail("'${command}' failed (${result}):\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY "${scratch}")

# --- install -----------------------------------------------------------------
if(FROM STREQUAL "install")
    set(prefix "${scratch}/prefix")
    set(config_args)
    if(CONFIG)
        set(config_args --config "${CONFIG}")
    endif()
    run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}" ${config_args})
elseif(FROM STREQUAL "deb")
    set(prefix "${scratch}/root/usr")
    set(ENV{PKG_CONFIG_SYSROOT_DIR} "${scratch}/root")
    run(cpack --config "${BUILD_DIR}/CPackConfig.cmake" -B "${scratch}/packages")
    # Every file checked below comes from one of the three packages.
    file(GLOB packages "${scratch}/packages/*.deb")
    foreach(package IN LISTS packages)
        run(dpkg -x "${package}" "${scratch}/root")
    endforeach()
else()
    fail("FROM must be install or deb")
endif()

# Everything a host needs is there...
set(libdir "${prefix}/lib")
set(schema "${prefix}/share/zkdb/harbor.sql")
foreach(file
        "${libdir}/libZkDb.so.${VERSION}" "${libdir}/libZkDb.so.1" "${libdir}/libZkDb.so"
        "${libdir}/libZkLib.so.${VERSION}" "${libdir}/libZkLib.so.1" "${libdir}/libZkLib.so"
        "${libdir}/cmake/ZkDb/ZkDbConfig.cmake" "${libdir}/cmake/ZkDb/ZkDbConfigVersion.cmake"
        "${libdir}/cmake/ZkDb/ZkDbTargets.cmake" "${libdir}/pkgconfig/zkdb.pc" "${schema}"
        "${prefix}/bin/zkdb-doctor"
        "${prefix}/include/ZkDb/ZkDb.h" "${prefix}/include/ZkLib/StringUtil.h")
    if(NOT EXISTS "${file}")
        fail("not installed: ${file}")
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
    fail("installed ZkDb headers differ from the umbrella header's list\n"
         "  installed: ${installed}\n  expected:  ${expected}")
endif()

# A shared ZkDb keeps SQLite private: the package must not ask for it.
file(READ "${libdir}/cmake/ZkDb/ZkDbTargets.cmake" targets)
file(READ "${libdir}/cmake/ZkDb/ZkDbConfig.cmake" package_config)
if(targets MATCHES "SQLite::" OR package_config MATCHES "find_dependency")
    fail("the CMake package exposes a dependency it should keep private")
endif()

# The libraries find their neighbours beside them, whatever the host's run
# path says.
foreach(name libZkDb.so.1 libZkLib.so.1)
    file(READ_ELF "${libdir}/${name}" RUNPATH runpath)
    if(NOT runpath STREQUAL "$ORIGIN")
        fail("${name} has the run path '${runpath}', not '$ORIGIN'")
    endif()
endforeach()

# --- consumers ---------------------------------------------------------------
set(flags)
if(SANITIZE STREQUAL "address")
    set(flags -fsanitize=address,undefined -fno-omit-frame-pointer)
elseif(SANITIZE STREQUAL "thread")
    set(flags -fsanitize=thread)
endif()

# Runs a built consumer and checks that harbor.db landed in `home`.
function(check_run what program home)
    file(REMOVE "${home}/harbor.db")
    run("${program}" "${schema}")
    if(NOT output MATCHES "consumer ok" OR NOT EXISTS "${home}/harbor.db")
        fail("${what}: no 'consumer ok', or no harbor.db in ${home}:\n${output}")
    endif()
    file(REMOVE "${home}/harbor.db")
    message(STATUS "${what}: ok")
endfunction()

# Configures and builds the consumer project in ${scratch}/<name>.
function(build_project name mode)
    set(build "${scratch}/${name}")
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
endfunction()

# In place: the installed libZkDb.so.1 loads the SQLite library beside it,
# so harbor.db lands in the library directory of the prefix.
file(COPY_FILE "${SQLITE_LIBRARY}" "${libdir}/libsqlite3.so.0")
build_project(package package)
check_run("find_package consumer, in place" "${scratch}/package/consumer" "${libdir}")
build_project(pkg-config pkg-config)
check_run("pkg-config consumer, in place" "${scratch}/pkg-config/consumer" "${libdir}")
file(REMOVE "${libdir}/libsqlite3.so.0")

# Deployed, CMake host.
build_project(package-deployed package -DZKDB_DEPLOY=ON)
check_run("find_package consumer, deployed" "${scratch}/package-deployed/consumer"
          "${scratch}/package-deployed")

# Deployed, pkg-config host: the command lines of docs/linux.md.
set(deploy "${scratch}/pkg-config-deployed")
file(MAKE_DIRECTORY "${deploy}")
run("${CMAKE_COMMAND}" -E env "PKG_CONFIG_PATH=${libdir}/pkgconfig"
    pkg-config --cflags --libs zkdb)
string(STRIP "${output}" pkg_flags)
separate_arguments(pkg_flags UNIX_COMMAND "${pkg_flags}")
run("${CXX}" -std=c++17 ${flags} "${consumer_source}/main.cpp" ${pkg_flags}
    "-Wl,-rpath,$ORIGIN" -o "${deploy}/consumer")
foreach(name libZkDb.so.1 libZkLib.so.1)
    file(COPY_FILE "${libdir}/${name}" "${deploy}/${name}")  # the file the link names
endforeach()
file(COPY_FILE "${SQLITE_LIBRARY}" "${deploy}/libsqlite3.so.0")
check_run("pkg-config consumer, deployed" "${deploy}/consumer" "${deploy}")

if(NOT DEFINED SUBDIRECTORY OR SUBDIRECTORY)
    # The subproject finds SQLite itself, so that module may not be disabled.
    build_project(subdirectory subdirectory -DZKDB_DEPLOY=ON -DCMAKE_DISABLE_FIND_PACKAGE_SQLite3=OFF)
    check_run("add_subdirectory consumer, deployed" "${scratch}/subdirectory/consumer"
              "${scratch}/subdirectory")
endif()

file(REMOVE_RECURSE "${scratch}")
