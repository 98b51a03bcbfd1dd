# The Debian package (cmake --build --preset default --target package): the
# three programs in /usr/bin, their data in /usr/share/cfg-veltrano, the
# desktop entry and the icon. The programs find their data from their own
# folder (../share/cfg-veltrano), so the package may be unpacked anywhere.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cfg-veltrano)
set(CPACK_PACKAGE_VENDOR "CFG-Veltrano")
set(CPACK_PACKAGE_CONTACT "CFG-Veltrano maintainers <cfg-veltrano@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration tool for VIMO fire-detection panels")
set(CPACK_PACKAGE_DESCRIPTION
  "Receives, edits, stores, sends and prints the configuration of a VIMO-family\n fire-detection panel over a serial cable and shows its loops live. Includes\n the command-line front end cfgvimo-cli and the simulated panel vimo-sim.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Package dependencies: dpkg-shlibdeps derives them from the programs (the
# Qt 6 libraries, the C and C++ runtimes); without it, the Qt 6 runtime is
# named by hand (the xcb platform plugin is part of libqt6gui6).
find_program(CFG_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(CFG_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6printsupport6 (>= 6.4)")
endif()
include(CPack)
