# Runs skimlark-capture for two frames with a particle dump after the second, and checks the
# dump: its header, and rows of the spray and of the trees in view, each a slot and three numbers.
execute_process(
    COMMAND ${CAPTURE} --frames 2 --clock-ms 0 --particles 2=${DUMP}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "skimlark-capture ended with ${result}")
endif()
file(STRINGS ${DUMP} lines)
list(GET lines 0 header)
if(NOT header STREQUAL "emitter,particle,x,y,z")
    message(FATAL_ERROR "unexpected header \"${header}\"")
endif()
set(number "-?[0-9]+(\\.[0-9]+)?(e[-+][0-9]+)?")
set(spray ${lines})
list(FILTER spray INCLUDE REGEX "^spray,[0-9]+,${number},${number},${number}$")
set(leaves ${lines})
list(FILTER leaves INCLUDE REGEX "^tree[0-9]+,[0-9]+,${number},${number},${number}$")
list(LENGTH lines total)
list(LENGTH spray sprayCount)
list(LENGTH leaves leafCount)
math(EXPR rows "${sprayCount} + ${leafCount} + 1")
# A particle that died in the last update is only born again in the next, so a few may be missing.
if(sprayCount LESS 1900 OR sprayCount GREATER 2000 OR leafCount EQUAL 0 OR NOT rows EQUAL total)
    message(FATAL_ERROR
        "${sprayCount} spray rows, ${leafCount} leaf rows, ${total} lines in all")
endif()
message(STATUS "${sprayCount} spray particles and ${leafCount} leaves")
