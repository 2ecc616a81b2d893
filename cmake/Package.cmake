# `cpack -G DEB` in the build folder makes tesmira_<version>_<arch>.deb; its dependencies
# come from the binaries (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME tesmira)
set(CPACK_PACKAGE_VENDOR "Tesmira developers")
# The package's maintainer: a packager sets their own address.
set(TESMIRA_PACKAGE_MAINTAINER "Tesmira developers <developers@tesmira.example.org>"
    CACHE STRING "Maintainer of the Debian package (name <address>)")
set(CPACK_PACKAGE_CONTACT "${TESMIRA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MP3 cutter with fades, speed and pitch change")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tesmira cuts a piece out of an MP3 and saves it as a new 320 kbit/s MP3,\n"
    "with optional fades, speed and pitch change. It comes as a window (Chinese\n"
    "interface) and as the command-line cutter tesmira-cut.")
# The package's version is the top entry of its changelog, whose upstream part must be ours.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/debian/changelog TESMIRA_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TESMIRA_CHANGELOG_TOP MATCHES "^tesmira \\(([^)-]+)-([^)]+)\\)")
    message(FATAL_ERROR "res/debian/changelog: no version in its first line")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "res/debian/changelog is at ${CMAKE_MATCH_1}, the project at "
        "${PROJECT_VERSION}: add an entry for this version")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
