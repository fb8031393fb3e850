# The content tool for a cross build (Windows, the browser): a program of the build machine, which
# paints the icon and writes data/. Either one already built (SKIMLARK_CONTENT_TOOL, as the test
# and package scripts pass the Linux build's) or the same sources configured here for the build
# machine, only the content tool's part of them, with its own compilers rather than the cross ones.
# Sets SKIMLARK_HOST_CONTENT, the program, and SKIMLARK_HOST_CONTENT_DEPENDS, what a command
# running it depends on.
set(SKIMLARK_CONTENT_TOOL "" CACHE FILEPATH
    "A skimlark-content built for this machine; empty: build one")
if(SKIMLARK_CONTENT_TOOL)
    set(SKIMLARK_HOST_CONTENT ${SKIMLARK_CONTENT_TOOL})
    set(SKIMLARK_HOST_CONTENT_DEPENDS ${SKIMLARK_CONTENT_TOOL})
    return()
endif()

include(ExternalProject)
set(SKIMLARK_HOST_CONTENT ${CMAKE_BINARY_DIR}/host-content/skimlark-content)
# A recursive make shares the build's job slots; other build tools get their own.
if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(SKIMLARK_HOST_BUILD "$(MAKE)" skimlark-content)
else()
    set(SKIMLARK_HOST_BUILD ${CMAKE_COMMAND} --build <BINARY_DIR> --target skimlark-content)
endif()
ExternalProject_Add(skimlark_host_content
    SOURCE_DIR ${SKIMLARK_ROOT}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-content
    CMAKE_ARGS -DSKIMLARK_CONTENT_TOOL_ONLY=ON -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_TOOLCHAIN_FILE= -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
    BUILD_COMMAND ${SKIMLARK_HOST_BUILD}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${SKIMLARK_HOST_CONTENT}
    INSTALL_COMMAND "")
set(SKIMLARK_HOST_CONTENT_DEPENDS skimlark_host_content ${SKIMLARK_HOST_CONTENT})
