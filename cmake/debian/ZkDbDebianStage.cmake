# Run by cpack after it has installed each component into its staging tree
# and before it packs (CPACK_PRE_BUILD_SCRIPTS): adds what Debian expects of
# every package and what differs from a relocatable install.
#
#   /usr/share/doc/<package>/copyright      the licence, machine-readable
#   /usr/share/doc/<package>/changelog.gz   (a native package's changelog)
#   zkdb.pc                                 prefix=/usr instead of a prefix
#                                           found from the file's own place

set(ZKDB_DEBIAN_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
string(TIMESTAMP ZKDB_DEBIAN_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../../LICENSE" license_lines)
# The licence text without its title and copyright line (the copyright
# file's own fields say those), each line indented, an empty line as " .".
set(ZKDB_DEBIAN_LICENSE)
set(in_text OFF)
foreach(line IN LISTS license_lines)
    if(line MATCHES "^Permission")
        set(in_text ON)
    endif()
    if(in_text)
        if(line STREQUAL "")
            set(line ".")
        endif()
        string(APPEND ZKDB_DEBIAN_LICENSE " ${line}\n")
    endif()
endforeach()
string(REGEX REPLACE "\n$" "" ZKDB_DEBIAN_LICENSE "${ZKDB_DEBIAN_LICENSE}")
set(work "${CPACK_TOPLEVEL_DIRECTORY}/zkdb-debian")
configure_file("${CMAKE_CURRENT_LIST_DIR}/copyright.in" "${work}/copyright" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/changelog.in" "${work}/changelog" @ONLY)
file(REMOVE "${work}/changelog.gz")
execute_process(COMMAND gzip -9 -n "${work}/changelog" COMMAND_ERROR_IS_FATAL ANY)

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER "${component}" upper)
    set(root "${CPACK_TEMPORARY_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX}")
    set(doc "${root}/share/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}")
    file(MAKE_DIRECTORY "${doc}")
    file(COPY "${work}/copyright" "${work}/changelog.gz" DESTINATION "${doc}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    file(GLOB_RECURSE pc_files "${root}/*/zkdb.pc")
    foreach(pc IN LISTS pc_files)
        file(READ "${pc}" text)
        string(REGEX REPLACE "(^|\n)prefix=[^\n]*" "\\1prefix=${CPACK_PACKAGING_INSTALL_PREFIX}" text "${text}")
        file(WRITE "${pc}" "${text}")
    endforeach()
endforeach()
