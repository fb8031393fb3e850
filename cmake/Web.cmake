# The browser build's pieces beside the game library: the web platform with the OpenGL layer, the
# game's program (skimlark.js and .wasm) and the capture tool's, the page, and the data pack made
# from data/ as a content tool built for this machine writes it.
include(${CMAKE_CURRENT_LIST_DIR}/HostContentTool.cmake)

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
