# The Debian package of sipocheck and its manual page (cpack -G DEB in the build folder; written by
# tools/release.sh as dist/sipocheck_<version>_amd64.deb). The version is project()'s.
if(WIN32)
  return()
endif()

# What Debian asks of every package in /usr/share/doc/<package>/: the licence as a machine-readable
# copyright file, and the changelog, compressed without a name or time in its header. A package
# whose version is its own (no Debian revision) is native, and a native package's changelog is
# changelog.gz. The changelog's date and the copyright's year are the commit's
# (SOURCE_DATE_EPOCH, which tools/release.sh sets), so that builds stay the same.
include(GNUInstallDirs)
set(sipo_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/sipocheck)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENCE)
file(READ ${PROJECT_SOURCE_DIR}/LICENCE SIPO_LICENCE_BODY)
string(STRIP "${SIPO_LICENCE_BODY}" SIPO_LICENCE_BODY)
# The licence's text as a field's continuation: each line indented, an empty line as " .".
string(REPLACE "\n" "\n " SIPO_LICENCE_BODY " ${SIPO_LICENCE_BODY}")
string(REPLACE "\n \n" "\n .\n" SIPO_LICENCE_BODY "${SIPO_LICENCE_BODY}")
string(TIMESTAMP SIPO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP SIPO_COPYRIGHT_YEAR "%Y" UTC)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in ${CMAKE_BINARY_DIR}/debian/copyright
               @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog
               @ONLY)
set(changelog_gz ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
                   COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/debian/changelog > ${changelog_gz}
                   DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(sipocheck_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${CMAKE_BINARY_DIR}/debian/copyright ${changelog_gz} DESTINATION ${sipo_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sipocheck)
set(CPACK_PACKAGE_VENDOR Tamrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks the form of Czech SIPO numbers in files and texts")
# Wrapped as Debian wants an extended description: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "sipocheck sorts the lines of a text file into those with a well-formed SIPO\n\
number (the Czech Post's consolidated payment scheme: ten digits, the last a\n\
check digit) and all others, and checks single numbers from scripts. It\n\
confirms the form of a number only.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tamrix <${SIPO_CONTACT_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
