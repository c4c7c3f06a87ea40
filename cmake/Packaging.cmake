# The installed program and its Debian package.
#
#   cmake --install build --prefix PREFIX   bin/nikra, the samples, the help, the desktop
#                                           entry, icon, metainfo and manual page
#   cd build && cpack -G DEB                nikra_VERSION_ARCH.deb for /usr
#
# The installed program keeps its samples and help inside itself (Qt resources); the copies
# installed here are for the user to read. Its program folder is the per-user data folder,
# which it seeds with the samples on first start.

# The day this VERSION was released; move it with the VERSION in project().
set(NIKRA_RELEASE_DATE 2026-12-06)

set(NIKRA_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
configure_file(${NIKRA_DIST_DIR}/${NIKRA_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/dist/${NIKRA_APP_ID}.metainfo.xml @ONLY)
configure_file(${NIKRA_DIST_DIR}/nikra.1.in ${PROJECT_BINARY_DIR}/dist/nikra.1 @ONLY)

install(TARGETS nikra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop program, loaded by nikra when it starts without a command.
install(TARGETS nikra_desktop LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/nikra)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/nikra/samples)
install(FILES ${PROJECT_SOURCE_DIR}/src/platform/help/nikra_help.html ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${NIKRA_DIST_DIR}/${NIKRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${NIKRA_DIST_DIR}/${NIKRA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_BINARY_DIR}/dist/${NIKRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_BINARY_DIR}/dist/nikra.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Its dependencies are the Qt runtime the program links, the Qt pieces
# it loads at run time (the platform plugins; the SVG plugins draw the icon), and the fonts
# that stand in for the faces users name in their files. dpkg-shlibdeps finds the linked
# libraries (Qt, libc, the C++ runtime) with their version floors; without it the Qt
# libraries are named here.
set(CPACK_PACKAGE_NAME nikra)
set(CPACK_PACKAGE_VENDOR "Nikra developers")
set(NIKRA_PACKAGE_CONTACT "Nikra developers <nikra@example.org>" CACHE STRING
    "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${NIKRA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "x-y graph pages from plain-text plot descriptions")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Nikra draws finished x-y graph pages from plain text files: a Format Data file (frame,\n"
    "axes, labels, fonts, curve styles), a Graph Data file (blocks of x-y points) and a\n"
    "Comment Data file per plot, up to six plots on one A4 page. It shows, prints and\n"
    "copies the page, writes it as PNG, PDF or SVG, and draws pages without a screen\n"
    "with the nikra render command.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6 (>= 6.4), libharfbuzz-subset0, qt6-qpa-plugins, fonts-ipafont-mincho, fonts-ipafont-gothic, fonts-liberation2")
find_program(NIKRA_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(NIKRA_DPKG_SHLIBDEPS)
if(NOT NIKRA_DPKG_SHLIBDEPS)
  string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libdeflate0, ")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
