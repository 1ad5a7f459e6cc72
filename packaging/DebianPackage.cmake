# The Debian package: `cpack -G DEB` in a build folder, or the build's `package` target,
# makes quillet_<version>_<architecture>.deb of what `cmake --install` puts under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillet Authors")
set(CPACK_PACKAGE_CONTACT "The Quillet Authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plain-text editor for text in many scripts")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillet opens and saves text in any code page the system has (Japanese,\n\
Chinese, Korean and every other), detects Japanese encodings from the bytes\n\
and never drops a character silently. Its user interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; these it needs too, although no
# library names them: Qt's X11 window plugin (without one Qt opens no window), Qt's
# translations of the standard dialogs into Japanese, and fonts for the Han, kana and Hangul
# of the texts and of the user interface.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk")
# Wanted but not needed: xdg-open, which opens the readme in the user's browser. Qt's own
# Wayland window plugin is only suggested: without it Qt takes the X11 one through Xwayland,
# and with it come Qt's QML libraries.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/OpenFolders.cmake)

include(CPack)
