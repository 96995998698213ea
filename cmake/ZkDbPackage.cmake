# Packages to ship, made by cpack from a configured and built tree:
#
#   Linux (default preset):  cpack --config build/default/CPackConfig.cmake
#     libzkdb1_<version>_<arch>.deb     Runtime: libZkDb.so.1, libZkLib.so.1,
#                                       stripped, with a debug link
#     libzkdb-dev_<version>_<arch>.deb  Development: headers, CMake package,
#                                       zkdb.pc, the .so links, harbor.sql
#     zkdb-tools_<version>_<arch>.deb   Tools: zkdb-doctor
#     <package>-dbgsym_<version>_<arch>.ddeb  their debug information
#   Windows (windows preset): cpack --config build/windows/CPackConfig.cmake
#     ZkDb-<version>-win64.zip          ZkDb.dll, ZkLib.dll, sqlite3.dll,
#                                       zkdb-doctor.exe, the import libraries,
#                                       headers, CMake package, zkdb.pc,
#                                       harbor.sql, LICENSE
#
# The Debian packages get their copyright file (the licence), changelog and
# system zkdb.pc from the scripts in cmake/debian/, which cpack runs; the
# Notices component (LICENSE) is for the zip and an installed prefix only.

set(CPACK_PACKAGE_NAME "ZkDb")
set(CPACK_PACKAGE_VENDOR "ZkDb")
set(CPACK_PACKAGE_CONTACT "ZkDb maintainers <maintainers@zkdb.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_COMPONENTS_ALL Runtime Development Tools)
set(CPACK_COMPONENT_RUNTIME_DISPLAY_NAME "ZkDb runtime libraries")
set(CPACK_COMPONENT_DEVELOPMENT_DISPLAY_NAME "ZkDb development files")
set(CPACK_COMPONENT_TOOLS_DISPLAY_NAME "ZkDb tools")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win64)
    # One zip with every component: what a Windows host ships and builds
    # with, and the licence.
    list(APPEND CPACK_COMPONENTS_ALL Notices)
    set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
    set(CPACK_MONOLITHIC_INSTALL OFF)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_VERSION "${PROJECT_VERSION}")
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The libraries and the doctor of one build belong together: the doctor
    # links the library's internals, so each package asks for the exact
    # version of libzkdb1.
    set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
    # Debug information goes to -dbgsym packages; the packed files are
    # stripped and keep a debug link to it.
    set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
    # The shlibs file that dpkg-shlibdeps reads when a host is packaged.
    set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
    set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
    # Depends from dpkg-shlibdeps (package dpkg-dev) where cpack finds it,
    # else the list in this file.
    set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/debian/ZkDbCPackOptions.cmake")
    # zkdb-doctor links libZkDb.so.1, which dpkg-shlibdeps finds in the
    # build tree (the exact libzkdb1 that zkdb-tools depends on stands for it).
    get_target_property(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ZkDb BINARY_DIR)
    # Copyright, changelog and the system zkdb.pc before packing; after it,
    # what CPack's Debian generator gets wrong.
    set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/debian/ZkDbDebianStage.cmake")
    set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/debian/ZkDbDebianFinish.cmake")

    set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libzkdb1")
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION "libs")
    set(CPACK_COMPONENT_RUNTIME_DESCRIPTION [[storage library of a video device management host
ZkDb keeps the persistent data of a video device management host in one
SQLite file, harbor.db: the device inventory with base64-encoded login
passwords, the SIP identities of devices, their channels and online states,
MQTT messages with a repeat counter, and the node's network parameters.

This package holds the shared libraries libZkDb and libZkLib. A host
installed from packages sets ZKDB_DATA_DIR to the directory of its
harbor.db, such as /var/lib/<host>.]])

    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libzkdb-dev")
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION "libdevel")
    set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION [[storage library of a video device management host - development files
ZkDb keeps the persistent data of a video device management host in one
SQLite file, harbor.db, behind a record class and an access class per
table.

This package holds what a host's build needs: the C++ headers, the CMake
package (find_package(ZkDb)), the pkg-config file zkdb.pc and the
reference schema /usr/share/zkdb/harbor.sql, from which a host creates
its tables.]])

    set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME "zkdb-tools")
    set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION "utils")
    set(CPACK_COMPONENT_TOOLS_DESCRIPTION [[diagnostics for the database of ZkDb hosts
zkdb-doctor tells a support engineer where a host built on the ZkDb
library keeps its harbor.db (ZKDB_DATA_DIR, or beside the SQLite library
the host loads) and what is wrong with it: a missing or unwritable
directory or file, a hot journal, a damaged database, missing tables or
columns. It can create the missing tables from the reference schema.]])
endif()

include(CPack)
