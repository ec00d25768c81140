# The Debian package, built with `cpack -G DEB` in a build directory.
set(CPACK_PACKAGE_NAME tallyflow)
set(CPACK_PACKAGE_VENDOR "Quorrin Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorrin Software <support@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small desktop network-traffic monitor")
# Lines of at most 80 characters, as Debian's tools want them.
set(CPACK_PACKAGE_DESCRIPTION
    "Tallyflow samples the machine's network interfaces on a timer and shows\n\
the received and sent totals, the current, top and average download and\n\
upload rates, a scrolling graph and the list of interfaces in one small\n\
window. It remembers its position and interval and can start at log-on.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.com/tallyflow")
# Libraries from the binary itself; the fonts the window is laid out for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fonts-dejavu-extra")
# qt6-wayland: the window runs natively in a Wayland session without X.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, qt6-wayland")
# Removing the package removes the machine-wide start-up entry it wrote.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
