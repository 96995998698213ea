# Run by cpack after it has made the packages (CPACK_POST_BUILD_SCRIPTS):
# mends what CPack's Debian generator of CMake 3.25 gets wrong, so that the
# packages are what Debian tools expect.
#
#   library packages  the loader's cache is refreshed by an ldconfig trigger,
#                     not by maintainer scripts that call ldconfig
#   -dbgsym packages  md5sums names the files relative to the root (CPack
#                     writes build-tree paths), the .debug files are not
#                     executable, and /usr/share/doc/<package>-dbgsym points
#                     to the documentation of the package they belong to

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.d?deb$")
        continue()
    endif()
    set(tree "${CPACK_TOPLEVEL_DIRECTORY}/zkdb-repack")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND dpkg-deb --field "${package}" Package
                    OUTPUT_VARIABLE name OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

    file(GLOB libraries "${tree}/usr/lib/*.so.*")
    if(libraries)
        file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
        file(WRITE "${tree}/DEBIAN/triggers" "activate-noawait ldconfig\n")
        file(CHMOD "${tree}/DEBIAN/triggers" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    elseif(name MATCHES "^(.+)-dbgsym$")
        file(MAKE_DIRECTORY "${tree}/usr/share/doc")
        file(CREATE_LINK "${CMAKE_MATCH_1}" "${tree}/usr/share/doc/${name}" SYMBOLIC)
        file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/usr/*")
        set(sums)
        foreach(file IN LISTS files)
            if(NOT IS_SYMLINK "${tree}/${file}")
                file(CHMOD "${tree}/${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
                file(MD5 "${tree}/${file}" sum)
                string(APPEND sums "${sum}  ${file}\n")
            endif()
        endforeach()
        file(WRITE "${tree}/DEBIAN/md5sums" "${sums}")
    else()
        continue()
    endif()
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
