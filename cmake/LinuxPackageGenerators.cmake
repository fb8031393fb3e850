# Read by cpack once for each generator: names the tarball (the Debian package keeps its
# name_version_arch.deb) and adds the licence at its top (the Debian package has it in its
# copyright file).
if(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_SKIMLARK_ARCHIVE_NAME}")
    set(CPACK_INSTALLED_DIRECTORIES "${CPACK_SKIMLARK_ARCHIVE_TOP};.")
endif()
