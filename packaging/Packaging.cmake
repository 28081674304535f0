# Installation beyond the two executables (each installed where it is
# defined): the desktop entry and the icon, and the Debian package built by
# CPack from the same install rules.
include(GNUInstallDirs)

set(TORVEX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${TORVEX_PACKAGING_DIR}/torvex4.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TORVEX_PACKAGING_DIR}/torvex4.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "torvex4")
set(CPACK_PACKAGE_VENDOR "Torvex-4")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Magic data and GP4info editor for GP4 track files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Torvex-4 compiles editable magic text files into the binary magic record of GP4 track files "
    "and inserts it, repairing the header offsets and the trailing checksum; it extracts stored "
    "records back to text, creates magic text files from the built-in records of GP4.EXE and edits "
    "the GP4info block. torvex4 is the desktop program, torvex4-cli the command for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Torvex-4 developers <torvex4@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The run-time libraries (Qt, the C++ library) are found by dpkg-shlibdeps
# from the executables themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
