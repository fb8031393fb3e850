# What the Windows build adds to skimlark.exe and its zip: the game's icon, painted into a .ico by
# the content tool, a program of the build machine (HostContentTool.cmake); the version and the
# licence line of its resource script; its application manifest; and the zip's LICENSE.txt and
# README.txt, with Windows line ends.
include(${CMAKE_CURRENT_LIST_DIR}/HostContentTool.cmake)

set(SKIMLARK_ICON ${CMAKE_BINARY_DIR}/icons/skimlark.ico)
add_custom_command(
    OUTPUT ${SKIMLARK_ICON}
    COMMAND ${SKIMLARK_HOST_CONTENT} --icons ${CMAKE_BINARY_DIR}/icons
    DEPENDS ${SKIMLARK_HOST_CONTENT_DEPENDS}
    COMMENT "Painting the game's icon"
    VERBATIM)
add_custom_target(skimlark_icon DEPENDS ${SKIMLARK_ICON})

# The application manifest, in a resource script of its own that the capture tool and the Wine
# checks compile too: what Windows sees of the game, they see.
set(SKIMLARK_MANIFEST ${CMAKE_BINARY_DIR}/app/skimlark.manifest)
configure_file(${SKIMLARK_ROOT}/app/skimlark.manifest.in ${SKIMLARK_MANIFEST} @ONLY)
set(SKIMLARK_MANIFEST_RESOURCE_SCRIPT ${CMAKE_BINARY_DIR}/app/application_manifest.rc)
configure_file(${SKIMLARK_ROOT}/app/application_manifest.rc.in ${SKIMLARK_MANIFEST_RESOURCE_SCRIPT}
    @ONLY)
# A program that carries the manifest alone (skimlark.exe has it in its own resource script).
function(skimlark_embed_manifest target)
    target_sources(${target} PRIVATE ${SKIMLARK_MANIFEST_RESOURCE_SCRIPT})
    # The resource compiler reads the manifest; make does not know that without being told.
    set_source_files_properties(${SKIMLARK_MANIFEST_RESOURCE_SCRIPT} TARGET_DIRECTORY ${target}
        PROPERTIES OBJECT_DEPENDS ${SKIMLARK_MANIFEST})
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/Licence.cmake)
set(SKIMLARK_RESOURCE_SCRIPT ${CMAKE_BINARY_DIR}/app/skimlark.rc)
configure_file(${SKIMLARK_ROOT}/app/skimlark.rc.in ${SKIMLARK_RESOURCE_SCRIPT} @ONLY)

set(SKIMLARK_WINDOWS_LICENCE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt)
set(SKIMLARK_WINDOWS_README ${CMAKE_BINARY_DIR}/packaging/README.txt)
configure_file(${SKIMLARK_ROOT}/LICENSE ${SKIMLARK_WINDOWS_LICENCE} @ONLY NEWLINE_STYLE CRLF)
configure_file(${SKIMLARK_ROOT}/packaging/README.txt.in ${SKIMLARK_WINDOWS_README}
    @ONLY NEWLINE_STYLE CRLF)
