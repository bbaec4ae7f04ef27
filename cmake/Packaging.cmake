# A Debian package of everything cmake --install puts down: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME korvex)
set(CPACK_PACKAGE_VENDOR Korvex)
set(CPACK_PACKAGE_CONTACT "Korvex <info@korvex.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DataMatrix symbols as CNC marking programs")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvex turns a short text into a DataMatrix ECC 200 symbol and writes a CNC\n part program that marks it, one point per dark module, from editable\n templates. korvex-cli does the same without a window and reads the marked\n points back with zxing-cpp.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window cannot open without Qt's platform plugins, which libqt6gui6 only recommends.
# Qt's own dialogs speak the user's language with its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
