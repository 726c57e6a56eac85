# The Debian package: `cpack -G DEB` in a build folder writes marrowick_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marrowick)
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_CONTACT "Corvane <dev@corvane.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MARROWICK_HOMEPAGE})
# The libraries come from the programs themselves; the window also needs Qt's
# display plugins, which are loaded at run time and so are not among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "read the GUIDs and attributes of game objects
Marrowick opens the object files of a life-simulation game and lists the
buyable objects they define, by label and chunk id. Selecting one shows its
GUIDs and its attributes: price, rooms, type, skills, catalog texts and
thumbnail. Files are only read, never written.

The command marrowick-inspect prints the same data as a table or as JSON, and
finds the objects in a collection of files that share a GUID.")

# Debian wants the manual pages compressed and a copyright file and changelog
# beside the documentation; the script adds them to the package's tree.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian_docs.cmake)
set(CPACK_MARROWICK_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_MARROWICK_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in debian/changelog @ONLY)

include(CPack)
