# Installation as a desktop program: `cmake --install <build> --prefix <prefix>`.
#
#   <prefix>/lib/caldrencalc/      the program folder: CaldrenCalc, libvesmora.so,
#                                  libcaldrencore.so, libcaldrencomponents.so,
#                                  libcaldrencommon.so, libcaldrengui.so, DEMO.CLD,
#                                  cldguide.pdf, and help/ (the guide and its pictures for
#                                  the help window)
#   <prefix>/bin/CaldrenCalc       a relative symbolic link to the program (the program
#                                  finds its folder through /proc/self/exe)
#   <prefix>/share/applications/caldrencalc.desktop         the application menu entry
#   <prefix>/share/mime/packages/caldrencalc.xml            ".cld" files
#                                                           (application/x-caldrencalc-data)
#   <prefix>/share/icons/hicolor/scalable/apps/caldrencalc.svg
#
# The libraries are found beside the program (RUNPATH $ORIGIN). After installing into a
# live system (no DESTDIR) the desktop's MIME and application caches are refreshed when the
# tools for it exist. Without the windows (CALDREN_BUILD_GUI=OFF) only the program folder
# (without libcaldrengui.so and the guide) and the command are installed. Included once from
# the top-level CMakeLists.txt, after the targets.

include_guard(GLOBAL)

set(CALDREN_INSTALL_DIR lib/caldrencalc)

# The program folder: the program, the engine it loads by ProgID, the shared libraries both
# load, the sample file; with the windows, the window library and the guide.
set(_caldren_binaries CaldrenCalc vesmora caldrencore caldrencomponents caldrencommon)
if(CALDREN_BUILD_GUI)
  list(APPEND _caldren_binaries caldrengui)
endif()
install(TARGETS ${_caldren_binaries}
        RUNTIME DESTINATION ${CALDREN_INSTALL_DIR}
        LIBRARY DESTINATION ${CALDREN_INSTALL_DIR}
        COMPONENT caldrencalc)
install(FILES ${CALDREN_PROGRAM_DIR}/DEMO.CLD DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT caldrencalc)
if(CALDREN_BUILD_GUI)
  install(DIRECTORY ${CALDREN_PROGRAM_DIR}/help DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT caldrencalc)
  if(CALDREN_BUILD_MANUAL_PDF)
    install(FILES ${CALDREN_PROGRAM_DIR}/cldguide.pdf DESTINATION ${CALDREN_INSTALL_DIR} COMPONENT caldrencalc)
  endif()
endif()

# The command on the PATH.
install(CODE [[
  set(_bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${_bin}")
  file(REMOVE "${_bin}/CaldrenCalc")
  file(CREATE_LINK ../lib/caldrencalc/CaldrenCalc "${_bin}/CaldrenCalc" SYMBOLIC)
  message(STATUS "Installing: ${_bin}/CaldrenCalc -> ../lib/caldrencalc/CaldrenCalc")
]] COMPONENT caldrencalc)

# The desktop (menu entry, data file type, icon) starts the windows: only with them.
if(NOT CALDREN_BUILD_GUI)
  return()
endif()
set(_dist ${PROJECT_SOURCE_DIR}/dist)
# The menu entry names the installed command by its full path, so that the menu finds it
# whether or not <prefix>/bin is on the desktop's PATH.
install(CODE "set(_caldren_desktop_source \"${_dist}/caldrencalc.desktop\")" COMPONENT caldrencalc)
install(CODE [[
  file(READ "${_caldren_desktop_source}" _entry)
  string(REPLACE "Exec=CaldrenCalc" "Exec=${CMAKE_INSTALL_PREFIX}/bin/CaldrenCalc" _entry "${_entry}")
  string(REPLACE "TryExec=CaldrenCalc" "TryExec=${CMAKE_INSTALL_PREFIX}/bin/CaldrenCalc" _entry "${_entry}")
  set(_apps "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications")
  file(MAKE_DIRECTORY "${_apps}")
  file(WRITE "${_apps}/caldrencalc.desktop" "${_entry}")
  message(STATUS "Installing: ${_apps}/caldrencalc.desktop")
]] COMPONENT caldrencalc)
install(FILES ${_dist}/caldrencalc-mime.xml DESTINATION share/mime/packages
        RENAME caldrencalc.xml COMPONENT caldrencalc)
install(FILES ${_dist}/caldrencalc.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT caldrencalc)

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
]] COMPONENT caldrencalc)
