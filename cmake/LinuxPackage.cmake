# How the Linux game installs (cmake --install) and packs (cpack: a Debian package and a tarball
# of the same tree). The layout is Debian's for games, fixed here rather than taken from
# GNUInstallDirs, which a distribution may change: the program in games/ and its data in
# share/games/skimlark, where the game looks for it relative to its own folder, so that the same
# tree works under /usr and unpacked anywhere. The tools, tests and benchmarks are not installed.

# The id that software centres know the game by, also the desktop entry's name.
set(SKIMLARK_APP_ID io.github.skimlark.skimlark)
# Where the metainfo's screenshots (the README's pictures in docs/) are published. The project
# has no public host yet: a name that can never resolve, rather than someone else's.
set(SKIMLARK_SCREENSHOT_URL "https://skimlark.invalid/docs"
    CACHE STRING "The web folder holding the pictures of docs/ that the metainfo names")

set(CPACK_PACKAGE_CONTACT "Skimlark developers <skimlark@users.invalid>")

# Debian's changelog dates carry the day of the week, worked out here from the release's date.
function(skimlark_changelog_date iso out)
    if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "SKIMLARK_RELEASE_DATE is ${iso}, not YYYY-MM-DD")
    endif()
    set(year ${CMAKE_MATCH_1})
    set(twoDigitMonth ${CMAKE_MATCH_2})
    set(twoDigitDay ${CMAKE_MATCH_3})
    # math() would read a leading zero as octal.
    string(REGEX REPLACE "^0" "" month "${twoDigitMonth}")
    string(REGEX REPLACE "^0" "" day "${twoDigitDay}")
    set(monthOffsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET monthOffsets ${index} offset)
    set(releaseYear ${year})
    if(month LESS 3)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekdayName)
    list(GET months ${index} monthName)
    set(${out} "${weekdayName}, ${twoDigitDay} ${monthName} ${releaseYear} 00:00:00 +0000"
        PARENT_SCOPE)
endfunction()

# The copyright file in Debian's machine-readable format: LICENSE's copyright line, and its
# permission text as the licence's paragraph (each line indented, blank lines as ".").
include(${CMAKE_CURRENT_LIST_DIR}/Licence.cmake)
string(REPLACE "\n\n" "\n.\n" SKIMLARK_LICENCE_PARAGRAPH "${SKIMLARK_LICENCE_PERMISSION}")
string(REPLACE "\n" "\n " SKIMLARK_LICENCE_PARAGRAPH " ${SKIMLARK_LICENCE_PARAGRAPH}")

skimlark_changelog_date(${SKIMLARK_RELEASE_DATE} SKIMLARK_RELEASE_DATE_RFC2822)
set(SKIMLARK_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${SKIMLARK_ROOT}/packaging/copyright.in ${SKIMLARK_PACKAGING_DIR}/copyright @ONLY)
configure_file(${SKIMLARK_ROOT}/packaging/changelog.in ${SKIMLARK_PACKAGING_DIR}/changelog @ONLY)
configure_file(${SKIMLARK_ROOT}/packaging/skimlark.6.in ${SKIMLARK_PACKAGING_DIR}/skimlark.6 @ONLY)
configure_file(${SKIMLARK_ROOT}/packaging/metainfo.xml.in
    ${SKIMLARK_PACKAGING_DIR}/${SKIMLARK_APP_ID}.metainfo.xml @ONLY)
configure_file(${SKIMLARK_ROOT}/packaging/skimlark.desktop
    ${SKIMLARK_PACKAGING_DIR}/${SKIMLARK_APP_ID}.desktop COPYONLY)
# The changelog and the manual page are compressed as Debian ships them: at the highest level,
# with no name or time in the header, so the same sources give the same bytes.
find_program(SKIMLARK_GZIP gzip REQUIRED)
foreach(name changelog skimlark.6)
    execute_process(COMMAND ${SKIMLARK_GZIP} -9 -n -c ${SKIMLARK_PACKAGING_DIR}/${name}
        OUTPUT_FILE ${SKIMLARK_PACKAGING_DIR}/${name}.gz
        RESULT_VARIABLE gzipResult)
    if(NOT gzipResult EQUAL 0)
        message(FATAL_ERROR "gzip could not compress ${SKIMLARK_PACKAGING_DIR}/${name}")
    endif()
endforeach()

# Directories as Debian wants them, whatever the umask of the machine that packs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS skimlark RUNTIME DESTINATION games)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data DESTINATION share/games/skimlark)
install(FILES ${SKIMLARK_PACKAGING_DIR}/${SKIMLARK_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${SKIMLARK_PACKAGING_DIR}/${SKIMLARK_APP_ID}.metainfo.xml DESTINATION share/metainfo)
# Only the theme's PNGs: the .ico beside them is the Windows build's.
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons)
install(FILES ${SKIMLARK_PACKAGING_DIR}/skimlark.6.gz DESTINATION share/man/man6)
install(FILES ${SKIMLARK_PACKAGING_DIR}/copyright ${SKIMLARK_PACKAGING_DIR}/changelog.gz
    DESTINATION share/doc/skimlark)

set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGE_NAME skimlark)
set(CPACK_PACKAGE_VENDOR "Skimlark")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skim over open water among islands")
# The extended description as the package's control file holds it: lines within lintian's 80
# columns once dpkg indents them.
set(CPACK_PACKAGE_DESCRIPTION
    "A small real-time 3D game: steer over a sea of islands, past palms and\n\
a volcano with its glowing spray, while the current pushes you east. The\n\
keyboard's arrows or a game pad steer; the game runs full screen.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# dpkg-shlibdeps finds the libraries the game links (SDL2, libpng, libjpeg, OpenGL); SDL2 loads
# the GLX (X11) or EGL (Wayland) side of the driver itself at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")

# The tarball is unversioned like the Windows zip; it unpacks into a folder of the same name,
# which also holds the licence at its top, where someone who unpacked it looks first.
set(CPACK_SKIMLARK_ARCHIVE_NAME "skimlark-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_SKIMLARK_ARCHIVE_TOP ${SKIMLARK_PACKAGING_DIR}/archive-top)
file(MAKE_DIRECTORY ${CPACK_SKIMLARK_ARCHIVE_TOP})
# Its mode is not the checkout's (a clone made under umask 077 has 0600 files).
configure_file(${SKIMLARK_ROOT}/LICENSE ${CPACK_SKIMLARK_ARCHIVE_TOP}/LICENSE COPYONLY
    NO_SOURCE_PERMISSIONS)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/LinuxPackageGenerators.cmake)

include(CPack)
