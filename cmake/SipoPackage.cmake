# The Debian package of sipocheck and its manual page (cpack -G DEB in the build folder; written by
# tools/release.sh as dist/sipocheck_<version>_amd64.deb). The version is project()'s.
if(WIN32)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sipocheck)
set(CPACK_PACKAGE_VENDOR Tamrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks the form of Czech SIPO numbers in files and texts")
set(CPACK_PACKAGE_DESCRIPTION
    "sipocheck sorts the lines of a text file into those with a well-formed SIPO number (the \
Czech Post's consolidated payment scheme: ten digits, the last a check digit) and all others, \
and checks single numbers from scripts. It confirms the form of a number only.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tamrix <${SIPO_CONTACT_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
