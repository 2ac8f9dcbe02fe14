# A Debian package: cpack -G DEB in the build folder gives kelvora_1.00_<arch>.deb.
set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_VERSION ${KELVORA_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calcul des paramètres d'un spectrographe")
set(CPACK_PACKAGE_DESCRIPTION
    "Simulation d'un spectrographe: a one-window calculator for people who design\n or choose a grating spectrograph for a small telescope, and kelvora-calc,\n its command-line companion.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvora developers <kelvora@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in French under French regional settings.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# Only what is installed: tests and benchmarks stay out of the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
