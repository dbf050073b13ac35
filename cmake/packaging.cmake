# A Debian package of the program, its renderer and its desktop files: cpack -G DEB.
set(CPACK_PACKAGE_NAME snoetjesmal)
set(CPACK_PACKAGE_VENDOR "Quorvelin Software")
set(CPACK_PACKAGE_CONTACT "Quorvelin Software <info@quorvelin.nl>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Stel een kleine gele emoticon samen")
# The lines as the package shows them: Debian's tools take them as they are, and a line of
# more than 80 characters is cut off on a terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Snoetjesmal maakt een gele emoticon van 19 bij 19 pixels uit een keuze van"
    "ogen en een mond, en slaat die op als BMP. Met snoetjesmal-render maak je"
    "emoticons vanaf de opdrachtregel, ook als PNG of SVG.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windowing plugins are loaded at run time, so no library link names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own texts in Dutch.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
