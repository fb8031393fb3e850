# Packs the Windows game for players, run as a script:
#   cmake -DEXE=skimlark.exe -DDATA_DIR=data -DLICENCE=LICENSE.txt -DREADME=README.txt
#         -DZIP=skimlark-windows.zip -P cmake/WindowsZip.cmake
# The zip holds skimlark.exe, data\, LICENSE.txt and README.txt at its top, with no folder around
# them: unpacked into a folder of the player's choosing, the game finds data\ beside itself.
foreach(input EXE DATA_DIR LICENCE README ZIP)
    if(NOT DEFINED ${input})
        message(FATAL_ERROR "WindowsZip.cmake: -D${input}=... is missing")
    endif()
endforeach()
foreach(file ${EXE} ${LICENCE} ${README})
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "WindowsZip.cmake: no ${file}")
    endif()
endforeach()
if(NOT IS_DIRECTORY ${DATA_DIR})
    message(FATAL_ERROR "WindowsZip.cmake: no data directory at ${DATA_DIR}")
endif()

get_filename_component(exeName ${EXE} NAME)
get_filename_component(dataName ${DATA_DIR} NAME)
if(NOT exeName STREQUAL "skimlark.exe" OR NOT dataName STREQUAL "data")
    message(FATAL_ERROR "WindowsZip.cmake: the zip holds skimlark.exe and data, not ${exeName} "
                        "and ${dataName}")
endif()

get_filename_component(zip ${ZIP} ABSOLUTE)
set(stage ${zip}.stage)
file(REMOVE_RECURSE ${stage})
file(REMOVE ${zip})
file(MAKE_DIRECTORY ${stage})
file(COPY ${EXE} ${DATA_DIR} DESTINATION ${stage})
file(COPY_FILE ${LICENCE} ${stage}/LICENSE.txt)
file(COPY_FILE ${README} ${stage}/README.txt)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip skimlark.exe data LICENSE.txt README.txt
    WORKING_DIRECTORY ${stage}
    RESULT_VARIABLE packed)
file(REMOVE_RECURSE ${stage})
if(NOT packed EQUAL 0)
    message(FATAL_ERROR "WindowsZip.cmake: could not write ${zip}")
endif()
