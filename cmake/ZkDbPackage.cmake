# Packages to ship, made by cpack from a configured and built tree:
#
#   Linux (default preset):  cpack --config build/default/CPackConfig.cmake
#     libzkdb1_<version>_<arch>.deb     Runtime: libZkDb.so.1, libZkLib.so.1
#     libzkdb-dev_<version>_<arch>.deb  Development: headers, CMake package,
#                                       zkdb.pc, the .so links, harbor.sql
#   Windows (windows preset): cpack --config build/windows/CPackConfig.cmake
#     ZkDb-<version>-win64-mingw.zip    for MinGW-w64 hosts: ZkDb.dll,
#                                       ZkLib.dll, sqlite3.dll,
#                                       zkdb-doctor.exe, the import libraries,
#                                       headers, CMake package, harbor.sql,
#                                       LICENSE, NOTICE.txt and notices/
#   Windows (windows-msvc preset): cpack --config build/windows-msvc/CPackConfig.cmake
#     ZkDb-<version>-win64-msvc.zip     the same built with the MSVC ABI, for
#                                       Visual Studio hosts (ZkDb.lib, ZkLib.lib)
#
# All hold only the Runtime and Development components of the install rules.

set(CPACK_PACKAGE_NAME "ZkDb")
set(CPACK_PACKAGE_VENDOR "ZkDb")
set(CPACK_PACKAGE_CONTACT "ZkDb maintainers <zkdb@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_COMPONENT_RUNTIME_DISPLAY_NAME "ZkDb runtime libraries")
set(CPACK_COMPONENT_DEVELOPMENT_DISPLAY_NAME "ZkDb development files")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    # The MSVC-ABI build (clang-cl or Visual C++) makes the zip for Visual
    # Studio hosts, ZkDb-<version>-win64-msvc.zip.
    if(CMAKE_CXX_COMPILER_FRONTEND_VARIANT STREQUAL "MSVC")
        set(CPACK_SYSTEM_NAME win64-msvc)
    else()
        set(CPACK_SYSTEM_NAME win64-mingw)
    endif()
    # One zip with both components: what a Windows host ships and builds with.
    set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
    set(CPACK_MONOLITHIC_INSTALL OFF)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libzkdb1")
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION "libs")
    # SQLite is linked privately but loaded at run time.
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libsqlite3-0")
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libzkdb-dev")
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION "libdevel")
endif()

include(CPack)
