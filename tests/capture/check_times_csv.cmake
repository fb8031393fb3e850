# Runs a capture tool for three frames with OPTION (--frame-times or --stage-times) and checks the
# file it wrote: the HEADER line, then one row per frame numbered from 1, each with COLUMNS times
# in milliseconds.
execute_process(
    COMMAND ${CAPTURE} --frames 3 --clock-ms 0 ${OPTION} ${TIMES}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${CAPTURE} ended with ${result}")
endif()
file(STRINGS ${TIMES} lines)
set(times "")
foreach(column RANGE 1 ${COLUMNS})
    string(APPEND times ",[0-9]+\\.[0-9][0-9][0-9]")
endforeach()
set(expected "${HEADER};1${times};2${times};3${times}")
if(NOT lines MATCHES "^${expected}$")
    message(FATAL_ERROR "unexpected ${OPTION} file: ${lines}")
endif()
