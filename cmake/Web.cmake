# The browser build's pieces beside the game library: the web platform with the OpenGL layer, the
# game's program (skimlark.js and .wasm) and the capture tool's, the page, and the data pack made
# from data/ as a content tool built for this machine writes it.
set(SKIMLARK_CONTENT_TOOL "" CACHE FILEPATH
    "A skimlark-content built for this machine, to write data/; empty: build one")
if(SKIMLARK_CONTENT_TOOL)
    set(SKIMLARK_HOST_CONTENT ${SKIMLARK_CONTENT_TOOL})
    set(SKIMLARK_HOST_CONTENT_DEPENDS ${SKIMLARK_CONTENT_TOOL})
else()
    include(ExternalProject)
    set(SKIMLARK_HOST_CONTENT ${CMAKE_BINARY_DIR}/host-content/skimlark-content)
    if(CMAKE_GENERATOR MATCHES "Makefiles")
        set(SKIMLARK_HOST_BUILD "$(MAKE)" skimlark-content)
    else()
        set(SKIMLARK_HOST_BUILD ${CMAKE_COMMAND} --build <BINARY_DIR> --target skimlark-content)
    endif()
    # The host's own compilers, not Emscripten's.
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
endif()

# The page's site: everything a static server hands out, with relative URLs only.
set(SKIMLARK_SITE ${CMAKE_BINARY_DIR}/site)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(SKIMLARK_DATA_PACK ${SKIMLARK_SITE}/skimlark-data.tar.gz)
add_custom_command(
    OUTPUT ${SKIMLARK_DATA_PACK} ${SKIMLARK_SITE}/skimlark-data.json
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/content
    COMMAND ${SKIMLARK_HOST_CONTENT} ${CMAKE_BINARY_DIR}/content/data
    COMMAND Python3::Interpreter ${SKIMLARK_ROOT}/cmake/web_data_pack.py
        ${CMAKE_BINARY_DIR}/content ${SKIMLARK_DATA_PACK} ${SKIMLARK_SITE}/skimlark-data.json
    DEPENDS ${SKIMLARK_HOST_CONTENT_DEPENDS} ${SKIMLARK_ROOT}/cmake/web_data_pack.py
    COMMENT "Packing data/ for the page"
    VERBATIM)
add_custom_target(skimlark_web_data ALL DEPENDS ${SKIMLARK_DATA_PACK})

set(SKIMLARK_PAGE_FILES index.html skimlark-page.js skimlark-page.css)
set(SKIMLARK_PAGE_OUTPUTS "")
foreach(file ${SKIMLARK_PAGE_FILES})
    configure_file(${SKIMLARK_ROOT}/platform/web/page/${file} ${SKIMLARK_SITE}/${file} COPYONLY)
endforeach()

# A program of the page: its .js and .wasm in the site, over WebGL 2 only, started by the page
# (callMain) once the data is in its file system.
function(skimlark_web_program target)
    set_target_properties(${target} PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${SKIMLARK_SITE})
    target_link_options(${target} PRIVATE
        -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES3=1
        -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
        -sINVOKE_RUN=0 -sEXIT_RUNTIME=0 -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web
        "-sEXPORTED_RUNTIME_METHODS=['FS','callMain','UTF8ToString']")
    add_dependencies(${target} skimlark_web_data)
endfunction()

add_subdirectory(platform)
add_subdirectory(app)
add_subdirectory(tools/capture)

include(CTest)
if(BUILD_TESTING)
    add_subdirectory(tests/web)
endif()
