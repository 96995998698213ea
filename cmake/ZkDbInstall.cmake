# Install rules: the two shared libraries, the public headers, a CMake
# package (find_package(ZkDb CONFIG) -> ZkDb::ZkDb, ZkDb::ZkLib), a
# pkg-config file (zkdb.pc) and the reference schema (share/zkdb/harbor.sql).
# Included by the root CMakeLists.txt when ZKDB_INSTALL is on. Components:
# Runtime (what a host ships), Development (what its build needs), Tools
# (zkdb-doctor) and Notices (the licence).

include(CMakePackageConfigHelpers)

set(ZKDB_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/ZkDb" CACHE STRING
    "Where the CMake package files of ZkDb are installed, relative to the prefix")
set(ZKDB_INSTALL_PKGCONFIGDIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig" CACHE STRING
    "Where zkdb.pc is installed, relative to the prefix")
set(ZKDB_INSTALL_SCHEMADIR "${CMAKE_INSTALL_DATADIR}/zkdb" CACHE STRING
    "Where harbor.sql, the reference schema, is installed, relative to the prefix")
mark_as_advanced(ZKDB_INSTALL_CMAKEDIR ZKDB_INSTALL_PKGCONFIGDIR ZKDB_INSTALL_SCHEMADIR)

# The licence: at the root of a Windows zip, in share/doc/ZkDb of an
# installed prefix. The Debian packages, which leave this component out,
# carry it in their copyright files.
if(WIN32)
    set(_zkdb_license_dir .)
else()
    set(_zkdb_license_dir "${CMAKE_INSTALL_DOCDIR}")
endif()
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION "${_zkdb_license_dir}" COMPONENT Notices)
unset(_zkdb_license_dir)

# The reference schema: a host creates its tables from this text through
# createDatabase(), open("harbor.db") and create().
install(FILES "${PROJECT_SOURCE_DIR}/schema/harbor.sql"
    DESTINATION "${ZKDB_INSTALL_SCHEMADIR}"
    COMPONENT Development)

# Libraries. The shared objects keep their version and SONAME links; the
# namelink (libZkDb.so) goes with the Development component.
install(TARGETS ZkLib ZkDb
    EXPORT ZkDbTargets
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT Runtime
    LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Runtime
            NAMELINK_COMPONENT Development
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Development
    # The public headers: the HEADERS file sets of baseSource/CMakeLists.txt.
    FILE_SET HEADERS DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT Development
    INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")

# The Windows build compiles its own sqlite3.dll, which ZkDb.dll links
# privately. A host ships it beside its executable, so it is installed with
# the library's DLLs, and it belongs to the export set (as ZkDb::SQLite3)
# because the package records what ZkDb.dll depends on. Its headers stay in
# the build tree: nothing of ZkDb's interface needs them.
if(TARGET zkdb_sqlite3)
    get_target_property(_zkdb_sqlite_includes zkdb_sqlite3 INTERFACE_INCLUDE_DIRECTORIES)
    set(_zkdb_build_includes)
    foreach(_dir IN LISTS _zkdb_sqlite_includes)
        list(APPEND _zkdb_build_includes "$<BUILD_INTERFACE:${_dir}>")
    endforeach()
    set_target_properties(zkdb_sqlite3 PROPERTIES
        EXPORT_NAME SQLite3
        INTERFACE_INCLUDE_DIRECTORIES "${_zkdb_build_includes}")
    install(TARGETS zkdb_sqlite3
        EXPORT ZkDbTargets
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT Runtime
        LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Runtime
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Development)
    unset(_zkdb_sqlite_includes)
    unset(_zkdb_build_includes)
endif()

# CMake package. ZkDb links SQLite, the thread library and libdl privately
# and is always a shared library, so its link interface names only ZkLib,
# which is in the same export set: the package needs no find_dependency().
# (On Windows the private sqlite3.dll is in the export set too, see above.)
install(EXPORT ZkDbTargets
    NAMESPACE ZkDb::
    FILE ZkDbTargets.cmake
    DESTINATION "${ZKDB_INSTALL_CMAKEDIR}"
    COMPONENT Development)

configure_package_config_file(
    "${CMAKE_CURRENT_LIST_DIR}/ZkDbConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/ZkDbConfig.cmake"
    INSTALL_DESTINATION "${ZKDB_INSTALL_CMAKEDIR}"
    PATH_VARS ZKDB_INSTALL_SCHEMADIR)
write_basic_package_version_file(
    "${PROJECT_BINARY_DIR}/ZkDbConfigVersion.cmake"
    VERSION "${PROJECT_VERSION}"
    COMPATIBILITY SameMajorVersion)
install(FILES
        "${PROJECT_BINARY_DIR}/ZkDbConfig.cmake"
        "${PROJECT_BINARY_DIR}/ZkDbConfigVersion.cmake"
    DESTINATION "${ZKDB_INSTALL_CMAKEDIR}"
    COMPONENT Development)

# pkg-config. The prefix is found from the .pc file's own place, so an
# installed tree can be moved. SQLite is named only in Libs.private (static
# linking needs it; linking the shared library does not), so pkg-config
# --cflags/--libs zkdb work without SQLite's development files.
set(_zkdb_pc_prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${ZKDB_INSTALL_PKGCONFIGDIR}")
    file(RELATIVE_PATH _zkdb_pc_up "/zkdb-prefix/${ZKDB_INSTALL_PKGCONFIGDIR}" "/zkdb-prefix")
    string(REGEX REPLACE "/$" "" _zkdb_pc_up "${_zkdb_pc_up}")
    set(_zkdb_pc_prefix "\${pcfiledir}/${_zkdb_pc_up}")
endif()
set(CMAKE_INSTALL_SCHEMADIR "${ZKDB_INSTALL_SCHEMADIR}")
foreach(_kind LIBDIR INCLUDEDIR SCHEMADIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${_kind}}")
        set(_zkdb_pc_${_kind} "${CMAKE_INSTALL_${_kind}}")
    else()
        set(_zkdb_pc_${_kind} "\${prefix}/${CMAKE_INSTALL_${_kind}}")
    endif()
endforeach()
unset(CMAKE_INSTALL_SCHEMADIR)
set(_zkdb_pc_private "-lsqlite3")
if(NOT WIN32)
    string(APPEND _zkdb_pc_private " -lpthread")
endif()
foreach(_lib IN LISTS CMAKE_DL_LIBS)
    string(APPEND _zkdb_pc_private " -l${_lib}")
endforeach()
configure_file("${CMAKE_CURRENT_LIST_DIR}/zkdb.pc.in" "${PROJECT_BINARY_DIR}/zkdb.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/zkdb.pc"
    DESTINATION "${ZKDB_INSTALL_PKGCONFIGDIR}"
    COMPONENT Development)
unset(_zkdb_pc_prefix)
unset(_zkdb_pc_up)
unset(_zkdb_pc_LIBDIR)
unset(_zkdb_pc_INCLUDEDIR)
unset(_zkdb_pc_SCHEMADIR)
unset(_zkdb_pc_private)
