# zkdb_embed_schema(<target>): compiles the reference schema into <target>.
#
# Generates HarborSchema.h from schema/harbor.sql (again whenever that file
# changes) and puts it on the target's include path. The header gives
# harbor::schemaSql(), the whole text of the schema, so a program never reads
# a file whose path depends on where the checkout sits.

set(ZKDB_SCHEMA_FILE "${CMAKE_CURRENT_LIST_DIR}/../schema/harbor.sql")
cmake_path(NORMAL_PATH ZKDB_SCHEMA_FILE)
set(ZKDB_SCHEMA_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/HarborSchema.h.in")

function(zkdb_embed_schema target)
    set(directory "${PROJECT_BINARY_DIR}/zkdb-schema")
    file(READ "${ZKDB_SCHEMA_FILE}" ZKDB_HARBOR_SCHEMA)
    # Writes only when the text changed, so nothing rebuilds needlessly.
    configure_file("${ZKDB_SCHEMA_TEMPLATE}" "${directory}/HarborSchema.h" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ZKDB_SCHEMA_FILE}")
    target_include_directories(${target} PRIVATE "${directory}")
endfunction()
