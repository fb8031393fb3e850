# Runs a capture tool for three frames with --frame-times and checks the file: its header, then
# one row per frame, numbered from 1, each with a time in milliseconds.
execute_process(
    COMMAND ${CAPTURE} --frames 3 --clock-ms 0 --frame-times ${TIMES}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${CAPTURE} ended with ${result}")
endif()
file(STRINGS ${TIMES} lines)
set(expected "frame,ms;1,[0-9]+\\.[0-9][0-9][0-9];2,[0-9]+\\.[0-9][0-9][0-9];3,[0-9]+\\.[0-9][0-9][0-9]")
if(NOT lines MATCHES "^${expected}$")
    message(FATAL_ERROR "unexpected frame times: ${lines}")
endif()
