# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it.
#
#   bin/                        the programs
#   share/tenkora/              tables/, TenkoraCells.ttf, help/ (src/base/DataPaths finds them)
#   lib[/ARCH]/tenkora/         libktnbrlc.so, the display driver the window loads
#   share/applications/         the desktop entry
#   share/mime/packages/        the BML type
#   share/icons/hicolor/        the icon, scalable and at 16 to 256 pixels
#   share/metainfo/             the AppStream description for software centres
#
# Tests and benchmarks have no install rules: they stay in the build folder.

set(TENKORA_APP_ID io.github.tenkora.Tenkora)
set(TENKORA_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)

install(TARGETS tenkora tenkora-cli CellExport TocComposer TocComposer2 tenkora-companion
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET ktnbrlc)
  install(TARGETS ktnbrlc LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tenkora)
endif()

install(FILES ${TENKORA_TABLE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/tenkora/tables)
install(FILES ${TENKORA_CELL_FONT} DESTINATION ${CMAKE_INSTALL_DATADIR}/tenkora)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tenkora/help)

install(FILES ${TENKORA_DESKTOP_DIR}/${TENKORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TENKORA_DESKTOP_DIR}/${TENKORA_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${TENKORA_DESKTOP_DIR}/${TENKORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TENKORA_DESKTOP_DIR}/icons/${TENKORA_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES ${TENKORA_DESKTOP_DIR}/icons/${size}x${size}/${TENKORA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The Debian package. The libraries the programs link come from dpkg-shlibdeps (package
# dpkg-dev); what they load or read at run time without linking it is named here: Qt's platform
# plugins (the window cannot start without them), a Japanese font for the captions and the print
# text, and MeCab's dictionary for the automatic translation. The desktop database, the MIME
# database and the icon cache are brought up to date by those packages' dpkg triggers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tenkora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tenkora")
set(CPACK_PACKAGE_CONTACT "Tenkora developers <tenkora@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Japanese braille books, text and mathematics")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tenkora turns typed kana, letters, digits and math symbols (or cells typed
with six keys) into Japanese braille, adds the signs the braille rules need
and lays the result out into braille lines and pages. Books are BML files.
It translates print automatically, checks the braille, exports BSE, BRF and
PEF, embosses through CUPS and works with braille displays and screen readers.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/tenkora/tenkora")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mecab-ipadic-utf8, qt6-translations-l10n, hicolor-icon-theme, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "brltty, cups, orca")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build's debugging information stays in the build folder.
set(CPACK_STRIP_FILES ON)
include(CPack)
