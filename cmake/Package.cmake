# `make package` (the `package` target): the Debian package, build/package/cadrelle_<version>_<arch>.deb, made by
# CPack from the install rules of cmake/Install.cmake under /usr. Its dependencies are worked out by
# dpkg-shlibdeps from the libraries the programs link; xdg-utils, which opens documents and report pages in
# their own applications, is recommended.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE CADRELLE_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
set(CADRELLE_DEB ${CMAKE_BINARY_DIR}/package/cadrelle_${PROJECT_VERSION}_${CADRELLE_DEB_ARCH}.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cadrelle)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Cadrelle developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of the documents of an ISO 9001 quality system")
# One text, its lines within the 80 columns Debian asks for.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Cadrelle keeps the documents of an ISO 9001:2000 quality management system\n"
    "in one catalogue: a tree of categories, the tree of the ISO 9001:2000\n"
    "clauses and the documents of each, opened in their own applications.\n"
    "Documents are under control: revisions, approval with an archived copy,\n"
    "periodic review and an append-only history of every change. Template\n"
    "documents and help pages come with it, and cadrelle-cli lists and backs up\n"
    "the catalogue from a terminal.\n"
    "\n"
    "Each user's catalogue and documents are kept under $XDG_DATA_HOME/Cadrelle.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${CADRELLE_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CADRELLE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
