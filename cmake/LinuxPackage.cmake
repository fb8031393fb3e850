# How the Linux game installs (cmake --install) and packs (cpack: a Debian package and a tarball
# of the same tree). The game looks for its data at ../share/skimlark beside its own directory, so
# the layout is fixed here rather than taken from GNUInstallDirs, which a distribution may
# change. The tools, tests and benchmarks are not installed.
install(TARGETS skimlark RUNTIME DESTINATION bin)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data DESTINATION share/skimlark)
install(FILES ${SKIMLARK_ROOT}/app/skimlark.desktop DESTINATION share/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION share/icons)

set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGE_NAME skimlark)
set(CPACK_PACKAGE_VENDOR "Skimlark")
set(CPACK_PACKAGE_CONTACT "Skimlark developers <skimlark@users.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skim over open water among islands")
set(CPACK_PACKAGE_DESCRIPTION
    "A small real-time 3D game: steer over a sea of islands, past palms and a volcano\n\
with its glowing spray, while the current pushes you east.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# dpkg-shlibdeps finds the libraries the game links (SDL2, libpng, libjpeg, OpenGL); SDL2 loads
# the GLX (X11) or EGL (Wayland) side of the driver itself at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")

# The tarball is unversioned like the Windows zip; it unpacks into a folder of the same name.
set(CPACK_SKIMLARK_ARCHIVE_NAME "skimlark-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/LinuxPackageGenerators.cmake)

include(CPack)
