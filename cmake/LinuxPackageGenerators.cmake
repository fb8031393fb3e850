# Read by cpack once for each generator: names the tarball (the Debian package keeps its
# name_version_arch.deb).
if(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_SKIMLARK_ARCHIVE_NAME}")
endif()
