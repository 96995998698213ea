# Read by cpack when it runs (CPACK_PROJECT_CONFIG_FILE), so what it finds
# on the packing machine decides, not what the configuring machine had.
#
# CPack's Debian generator needs the program `file` (package file) to split
# the debug information into -dbgsym packages, to write the shlibs file and
# to run dpkg-shlibdeps; without it the packages only have their binaries
# stripped. With dpkg-shlibdeps (package dpkg-dev), Depends lists the
# versions of the C and C++ runtime and of libsqlite3-0 that the binaries
# actually need; without it, the same packages unversioned.

if(CPACK_GENERATOR STREQUAL "DEB")
    # Each package's description starts with its own synopsis line; the
    # project's summary would otherwise be put before it.
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
    find_program(ZKDB_FILE_PROGRAM file)
    find_program(ZKDB_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(NOT ZKDB_FILE_PROGRAM)
        message(WARNING "The program 'file' (package file) is missing: the Debian packages "
                        "get no -dbgsym packages, no shlibs file and unversioned Depends.")
        set(CPACK_DEBIAN_DEBUGINFO_PACKAGE OFF)
        set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
        set(CPACK_STRIP_FILES ON)
    endif()
    if(ZKDB_FILE_PROGRAM AND ZKDB_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    else()
        set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6, libsqlite3-0")
        set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "${CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS}")
    endif()
endif()
