# Desktop integration and the Debian package.
#
#   cmake --install build [--prefix /usr/local]   the program, its menu entry and icon
#   cpack --config build/CPackConfig.cmake -G DEB  beugungsbilder_<version>_amd64.deb
#
# Installing takes what the build made and builds nothing itself, so that the
# package test does not rebuild the tree while the other tests run from it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/beugungsbilder.desktop" DESTINATION share/applications)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/beugungsbilder.svg" DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME beugungsbilder)
set(CPACK_PACKAGE_VENDOR "Beugungsbilder")
set(CPACK_PACKAGE_CONTACT "Beugungsbilder <beugungsbilder@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Beugungsbilder für den Kristallographie-Unterricht")
set(CPACK_PACKAGE_DESCRIPTION
    "Draws the diffraction patterns of a random structure in a chosen space group\n\
(layers hk0, h0l, 0kl or hk1, h1l, 1kl) as an exercise or as its solution and\n\
puts the picture on the clipboard.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The libraries (Qt's included) come from dpkg-shlibdeps; the fonts and the
# X platform plugin are loaded at run time, so they are named here. On
# Debian 12 the xcb plugin ships in libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), fonts-liberation, fonts-urw-base35")
include(CPack)

# The package test builds the .deb from this build tree and looks inside it.
# An instrumented build is no program to ship, so it has none.
if(BEUGUNGSBILDER_TESTS AND NOT BEUGUNGSBILDER_SANITIZE AND NOT BEUGUNGSBILDER_FUZZ)
    add_test(NAME debian_package
             COMMAND bash "${CMAKE_SOURCE_DIR}/packaging/check_deb.sh" "${CMAKE_BINARY_DIR}"
                     "${CMAKE_BINARY_DIR}/package-test")
    set_tests_properties(debian_package PROPERTIES TIMEOUT 300)
endif()
