# Runs the example host twice in a fresh copy of its directory and checks
# that the second run finds what the first stored.
#
#   cmake -DHOST_DIR=<dir of harbor_host> -DHOST_NAME=harbor_host
#         -DWORK_DIR=<scratch dir> [-DEMULATOR=<command words, "|" between>]
#         -P RunTwice.cmake
#
# EMULATOR runs the host where it cannot run by itself (Wine for a Windows
# build).

foreach(variable HOST_DIR HOST_NAME WORK_DIR)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

string(REPLACE "|" ";" emulator "${EMULATOR}")

# The deployed directory without any database a user's run left there.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(GLOB deployed "${HOST_DIR}/${HOST_NAME}" "${HOST_DIR}/*.so.*" "${HOST_DIR}/*.dll")
file(COPY ${deployed} DESTINATION "${WORK_DIR}" FOLLOW_SYMLINK_CHAIN)

function(run_host number)
    execute_process(
        # As a user starts it: nothing on the library search path.
        COMMAND "${CMAKE_COMMAND}" -E env --unset=LD_LIBRARY_PATH ${emulator} "${WORK_DIR}/${HOST_NAME}"
        WORKING_DIRECTORY "${WORK_DIR}"
        RESULT_VARIABLE result
        OUTPUT_VARIABLE output
        ERROR_VARIABLE errors
        TIMEOUT 60)
    message("---- run ${number} ----\n${output}${errors}")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "run ${number} exited with '${result}'")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

function(expect text)
    string(FIND "${output}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "expected '${text}' in the output")
    endif()
endfunction()

run_host(1)
expect("harbor host, run #1")
expect("(new: tables created from the reference schema)")
expect("added cam-gate")
expect("cam-dock: first seen, now online")
expect("status \"delete\"")
expect("All steps succeeded.")
if(NOT EXISTS "${WORK_DIR}/harbor.db")
    message(FATAL_ERROR "harbor.db is not beside the host in ${WORK_DIR}")
endif()

run_host(2)
expect("harbor host, run #2")
expect("(found)")
expect("loaded the stored parameters of node harbor-node-1")
expect("updated cam-gate")
expect("cam-dock: was online, now offline")
# The first run's messages were counted down once more, the new ones once.
string(REGEX MATCH "run1-online +cam-gate +online +0 +harbor/events/cam-gate +1" older "${output}")
string(REGEX MATCH "run2-online +cam-gate +online +0 +harbor/events/cam-gate +2" newer "${output}")
if(NOT older OR NOT newer)
    message(FATAL_ERROR "the MQTT repeat counters did not carry over between runs")
endif()
expect("Rows: 3 devices, 3 SIP identities, 3 online states, 4 queued messages, 1 node parameter row")
expect("All steps succeeded.")

file(REMOVE_RECURSE "${WORK_DIR}")
