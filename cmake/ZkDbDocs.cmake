# HTML reference documentation of the public headers, built by the target
# "docs" with Doxygen (docs/Doxyfile.in). Without Doxygen, or when ZkDb is a
# subproject that did not ask for it, there is no such target, so a host's
# own "docs" target never clashes with it.
#
# Doxygen's warnings fail the build when ZKDB_WARNINGS_AS_ERRORS is on, as
# compiler warnings do.

option(ZKDB_BUILD_DOCS "Add the 'docs' target (HTML reference documentation, needs Doxygen)"
       ${PROJECT_IS_TOP_LEVEL})

if(ZKDB_BUILD_DOCS)
    find_package(Doxygen QUIET)
    if(DOXYGEN_FOUND)
        set(ZKDB_DOCS_OUTPUT_DIR "${PROJECT_BINARY_DIR}/docs")
        if(ZKDB_WARNINGS_AS_ERRORS)
            set(ZKDB_DOXYGEN_WARN_AS_ERROR YES)
        else()
            set(ZKDB_DOXYGEN_WARN_AS_ERROR NO)
        endif()
        # The public headers are the HEADERS file sets of the two libraries.
        set(ZKDB_DOCS_INPUT "\"${PROJECT_SOURCE_DIR}/docs/mainpage.md\"")
        foreach(_zkdb_target ZkDb ZkLib)
            get_target_property(_zkdb_headers ${_zkdb_target} HEADER_SET)
            foreach(_zkdb_header IN LISTS _zkdb_headers)
                string(APPEND ZKDB_DOCS_INPUT " \\\n    \"${_zkdb_header}\"")
            endforeach()
        endforeach()
        configure_file("${PROJECT_SOURCE_DIR}/docs/Doxyfile.in"
                       "${ZKDB_DOCS_OUTPUT_DIR}/Doxyfile" @ONLY)
        add_custom_target(docs
            COMMAND "${DOXYGEN_EXECUTABLE}" "${ZKDB_DOCS_OUTPUT_DIR}/Doxyfile"
            WORKING_DIRECTORY "${ZKDB_DOCS_OUTPUT_DIR}"
            COMMENT "Reference documentation: ${ZKDB_DOCS_OUTPUT_DIR}/html/index.html"
            VERBATIM)
    else()
        message(STATUS "Doxygen not found: no 'docs' target")
    endif()
endif()
