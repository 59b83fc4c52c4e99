# The Debian package: `cpack -G DEB` in the build folder writes tamsel_VERSION_ARCH.deb with
# the layout of `cmake --install` under /usr. The dependencies are the run-time libraries
# the program links (found by dpkg-shlibdeps), the CJK font its texts are drawn in and the
# General MIDI sound font its music is played with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamsel)
set(CPACK_PACKAGE_VENDOR "the Tamsel developers")
set(CPACK_PACKAGE_CONTACT "${TAMSEL_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei, fluid-soundfont-gm")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small role-playing game told in Chinese")
# The summary above is the first line of the package's description, this is the rest.
set(CPACK_PACKAGE_DESCRIPTION "A hero walks the tiled maps of a home, a city, a wood and a palace, talks to
the people there, opens chests, trades in shops and fights turn-based battles
that raise his level, following a short story told in talk boxes and typed
story screens. 640 x 480 pixels in 256 colours, scaled sharply to the screen;
played with the keyboard or a gamepad; five save slots.")
include(CPack)
