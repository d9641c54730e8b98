# Installation as a desktop program: `cmake --install <build> --prefix <prefix>`.
#
#   <prefix>/lib/caldrencalc/      the program folder: CaldrenCalc, libvesmora.so,
#                                  libcaldrencore.so, libcaldrencomponents.so,
#                                  libcaldrencommon.so, the workbook libraries
#                                  libcaldrenworkpaper.so and libcaldrensummarybook.so
#                                  (loaded when a workbook is written),
#                                  libcaldrengui.so, DEMO.CLD,
#                                  cldguide.pdf, and help/ (the guide and its pictures for
#                                  the help window)
#   <prefix>/bin/CaldrenCalc       a relative symbolic link to the program (the program
#                                  finds its folder through /proc/self/exe)
#   <prefix>/share/applications/caldrencalc.desktop         the application menu entry
#   <prefix>/share/mime/packages/caldrencalc.xml            ".cld" files
#                                                           (application/x-caldrencalc-data)
#   <prefix>/share/icons/hicolor/scalable/apps/caldrencalc.svg
#   <prefix>/share/metainfo/com.orlenwick.caldrencalc.metainfo.xml  the software centre's entry
#   <prefix>/share/man/man1/CaldrenCalc.1.gz                        the manual page
#   <prefix>/share/doc/caldrencalc{,-batch}/                         copyright, changelog.gz
#
# The libraries are found beside the program (RUNPATH $ORIGIN). After installing into a
# live system (no DESTDIR) the desktop's MIME and application caches are refreshed when the
# tools for it exist. Without the windows (CALDREN_BUILD_GUI=OFF) only the program folder
# (without libcaldrengui.so and the guide) and the command are installed. Included once from
# the top-level CMakeLists.txt, after the targets.
#
# Two install components, one Debian package each (cmake/Package.cmake): "batch" (the
# program, the engine, the libraries they load, DEMO.CLD, the command, the manual page; no
# Qt) and "windows" (the window library, the guide, the desktop entry, the MIME type, the
# icon, the software-centre entry).

include_guard(GLOBAL)

set(CALDREN_INSTALL_DIR lib/caldrencalc)

# The program folder: the program, the engine it loads by ProgID, the shared libraries both
# load, the sample file; with the windows, the window library and the guide.
install(TARGETS CaldrenCalc vesmora caldrencore caldrencomponents caldrencommon
                caldrenworkpaper caldrensummarybook
        RUNTIME DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT batch
        LIBRARY DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT batch)
install(FILES ${CALDREN_PROGRAM_DIR}/DEMO.CLD DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT batch)
if(CALDREN_BUILD_GUI)
  install(TARGETS caldrengui LIBRARY DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT windows)
  install(DIRECTORY ${CALDREN_PROGRAM_DIR}/help DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT windows)
  if(CALDREN_BUILD_MANUAL_PDF)
    install(FILES ${CALDREN_PROGRAM_DIR}/cldguide.pdf DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT windows)
  endif()
endif()

# The command on the PATH.
install(CODE [[
  set(_bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${_bin}")
  file(REMOVE "${_bin}/CaldrenCalc")
  file(CREATE_LINK ../lib/caldrencalc/CaldrenCalc "${_bin}/CaldrenCalc" SYMBOLIC)
  message(STATUS "Installing: ${_bin}/CaldrenCalc -> ../lib/caldrencalc/CaldrenCalc")
]] COMPONENT batch)

# The manual page CaldrenCalc(1), and each package's copyright and changelog (Debian's
# places for them), compressed as Debian wants them (gzip -9n: no time stamp).
set(CALDREN_HOMEPAGE "https://www.orlenwick.example/caldren" CACHE STRING
    "The program's homepage (the packages' Homepage; the software-centre pictures lie under <homepage>/screenshots)")
set(CALDREN_MAINTAINER "Orlenwick Software Company <sales@orlenwick.example>" CACHE STRING
    "The packages' maintainer, \"Name <address>\"")
set(CALDREN_APPSTREAM_ID com.orlenwick.caldrencalc)
# The release date, from SOURCE_DATE_EPOCH when set (scripts/package.sh: the last commit's).
string(TIMESTAMP CALDREN_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP CALDREN_RELEASE_DAY "%Y-%m-%d" UTC)
set(_dist_out ${CMAKE_BINARY_DIR}/dist)
configure_file(${PROJECT_SOURCE_DIR}/dist/CaldrenCalc.1 ${_dist_out}/CaldrenCalc.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/changelog.in ${_dist_out}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/caldrencalc.metainfo.xml.in
               ${_dist_out}/${CALDREN_APPSTREAM_ID}.metainfo.xml @ONLY)
add_custom_command(
  OUTPUT ${_dist_out}/CaldrenCalc.1.gz ${_dist_out}/changelog.gz
  COMMAND gzip -9nkf CaldrenCalc.1 changelog
  DEPENDS ${_dist_out}/CaldrenCalc.1 ${_dist_out}/changelog
  WORKING_DIRECTORY ${_dist_out}
  COMMENT "Compressing the manual page and the changelog"
  VERBATIM)
add_custom_target(caldrendist ALL DEPENDS ${_dist_out}/CaldrenCalc.1.gz ${_dist_out}/changelog.gz)
install(FILES ${_dist_out}/CaldrenCalc.1.gz DESTINATION share/man/man1 COMPONENT batch)
install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright ${_dist_out}/changelog.gz
        DESTINATION share/doc/caldrencalc-batch COMPONENT batch)

# The desktop (menu entry, data file type, icon) starts the windows: only with them.
if(NOT CALDREN_BUILD_GUI)
  return()
endif()
set(_dist ${PROJECT_SOURCE_DIR}/dist)
# The menu entry names the installed command by its full path, so that the menu finds it
# whether or not <prefix>/bin is on the desktop's PATH.
install(CODE "set(_caldren_desktop_source \"${_dist}/caldrencalc.desktop\")" COMPONENT windows)
install(CODE [[
  file(READ "${_caldren_desktop_source}" _entry)
  string(REPLACE "Exec=CaldrenCalc" "Exec=${CMAKE_INSTALL_PREFIX}/bin/CaldrenCalc" _entry "${_entry}")
  string(REPLACE "TryExec=CaldrenCalc" "TryExec=${CMAKE_INSTALL_PREFIX}/bin/CaldrenCalc" _entry "${_entry}")
  set(_apps "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications")
  file(MAKE_DIRECTORY "${_apps}")
  file(WRITE "${_apps}/caldrencalc.desktop" "${_entry}")
  message(STATUS "Installing: ${_apps}/caldrencalc.desktop")
]] COMPONENT windows)
install(FILES ${_dist}/caldrencalc-mime.xml DESTINATION share/mime/packages
        RENAME caldrencalc.xml COMPONENT windows)
install(FILES ${_dist}/caldrencalc.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT windows)
install(FILES ${_dist_out}/${CALDREN_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo
        COMPONENT windows)
install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright ${_dist_out}/changelog.gz
        DESTINATION share/doc/caldrencalc COMPONENT windows)

install(CODE [[
  if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
    find_program(_update_mime update-mime-database)
    if(_update_mime)
      execute_process(COMMAND ${_update_mime} "${CMAKE_INSTALL_PREFIX}/share/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    find_program(_update_desktop update-desktop-database)
    if(_update_desktop)
      execute_process(COMMAND ${_update_desktop} "${CMAKE_INSTALL_PREFIX}/share/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
    find_program(_update_icons gtk-update-icon-cache)
    if(_update_icons AND EXISTS "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/index.theme")
      execute_process(COMMAND ${_update_icons} -q -t "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]] COMPONENT windows)
