# The Debian package: `cpack -G DEB` in a Release build tree makes fizmo_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fizmo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${FIZMO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic drill game for young children (フィズモ)")
# Installed through DESTDIR, so that the prefix written into the desktop entry is /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${FIZMO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game's text is drawn in IPAGothic and IPAPGothic.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# Without it the game runs through XWayland on a Wayland desktop.
# よみあげ reads the questions with Open JTalk; a voice of Debian's is one a family can add.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, open-jtalk, open-jtalk-mecab-naist-jdic")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS hts-voice-nitech-jp-atr503-m001)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
file(READ ${PROJECT_SOURCE_DIR}/cmake/debian/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
# Relocations resolved at start and then read-only, as Debian builds its programs.
target_link_options(fizmo PRIVATE LINKER:-z,relro,-z,now)
include(CPack)
