# The Debian packages, from this build's install components (cmake/Install.cmake):
#
#   caldrencalc-batch_<version>_<arch>.deb   component "batch": the program folder without
#                                            the windows, /usr/bin/CaldrenCalc, the manual
#                                            page; needs no Qt
#   caldrencalc_<version>_<arch>.deb         component "windows": the window library, the
#                                            guide, the desktop entry, the MIME type, the
#                                            icon, the software-centre entry; depends on
#                                            caldrencalc-batch of the same version and on Qt
#
# Built with `cpack --config <build>/CPackConfig.cmake -B <folder>` (scripts/package.sh does
# it from a clean clone). The dependencies on the system's libraries are computed by
# dpkg-shlibdeps from the binaries; the version is the project's. Included once from the
# top-level CMakeLists.txt, after cmake/Install.cmake.

include_guard(GLOBAL)

if(NOT CALDREN_BUILD_GUI)
  set(CPACK_COMPONENTS_ALL batch)
else()
  set(CPACK_COMPONENTS_ALL batch windows)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME caldrencalc)
set(CPACK_PACKAGE_VENDOR "Orlenwick Software Company")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${CALDREN_MAINTAINER}")
# Installed under /usr through DESTDIR, so that the install scripts see the real prefix (the
# menu entry's Exec line) and leave the desktop's caches alone (the packages' triggers
# refresh them).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE caldrencalc)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CALDREN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries are private (RUNPATH $ORIGIN, no shlibs file): dpkg-shlibdeps finds the
# ones the window library needs from the other package in the build's program folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CALDREN_PROGRAM_DIR})

set(CPACK_DEBIAN_BATCH_PACKAGE_NAME caldrencalc-batch)
set(CPACK_DEBIAN_BATCH_PACKAGE_SECTION misc)
# Files a run as root leaves in the program folder (which root may write) go with it.
set(CPACK_DEBIAN_BATCH_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/dist/postrm)
set(CPACK_DEBIAN_BATCH_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_BATCH_DESCRIPTION
    "Caldren Formula Calculator, batch runs without a display
The accumulated-earnings analysis of a corporation: from one year's
balance-sheet and income figures, next year's costs and twelve month-end
figures, the working capital that one operating cycle needs (average and
peak methods), compared with what is available.
.
This package holds the program CaldrenCalc for batch runs, comparisons of
years and the tools for scripts, the engine Vesmora and the sample analysis
DEMO.CLD. It needs no window toolkit; the windows are in the package
caldrencalc.")

set(CPACK_DEBIAN_WINDOWS_PACKAGE_NAME caldrencalc)
set(CPACK_DEBIAN_WINDOWS_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_WINDOWS_PACKAGE_DEPENDS "caldrencalc-batch (= ${PROJECT_VERSION})")
# The reports ask for "Courier New"; Liberation Mono has its measurements.
set(CPACK_DEBIAN_WINDOWS_PACKAGE_RECOMMENDS fonts-liberation2)
set(CPACK_DEBIAN_WINDOWS_DESCRIPTION
    "Caldren Formula Calculator, the windows
The accumulated-earnings analysis of a corporation: from one year's
balance-sheet and income figures, next year's costs and twelve month-end
figures, the working capital that one operating cycle needs (average and
peak methods), compared with what is available.
.
This package holds the program's windows: the input form, the report viewers
with printing and saving as PDF, the monthly-cycle chart, the comparison of
years, the help window with the user's guide, the menu entry and the .cld
file type.")

include(CPack)
