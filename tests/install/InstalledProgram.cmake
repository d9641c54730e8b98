# Installs the build into <WORK> (DESTDIR, prefix /opt/caldren) and checks the result:
#  - every ELF file of the program folder finds each library it needs, ours from that folder;
#  - the window library is there exactly when the windows are built (GUI);
#  - the command <prefix>/bin/CaldrenCalc does a batch run of the installed DEMO.CLD (on a
#    copy) with a private HOME and no display: exit 0, the report file as <EXPECTED>.
#   cmake -DBUILD_DIR=<build> -DWORK=<folder> -DGUI=ON|OFF -DEXPECTED=<file>
#         -P InstalledProgram.cmake
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${WORK}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /opt/caldren
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()
set(folder "${WORK}/opt/caldren/lib/caldrencalc")

file(GLOB files LIST_DIRECTORIES false "${folder}/*")
set(binaries "")
foreach(file IN LISTS files)
  file(READ "${file}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    continue()
  endif()
  get_filename_component(name "${file}" NAME)
  list(APPEND binaries ${name})
  execute_process(COMMAND ldd "${file}" OUTPUT_VARIABLE deps RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR deps MATCHES "not found")
    message(FATAL_ERROR "${name} misses a library:\n${deps}")
  endif()
  # Our own libraries (libcaldren*, libvesmora) come from the program folder only.
  string(REGEX MATCHALL "lib(caldren|vesmora)[^ \t\n]* => [^ \t\n]*" ours "${deps}")
  foreach(dep IN LISTS ours)
    if(NOT dep MATCHES " => ${folder}/")
      message(FATAL_ERROR "${name}: ${dep} lies outside the program folder")
    endif()
  endforeach()
endforeach()
message(STATUS "installed binaries: ${binaries}")
list(FIND binaries libcaldrengui.so gui)
if(GUI AND gui EQUAL -1)
  message(FATAL_ERROR "the windows are built but libcaldrengui.so is not installed")
elseif(NOT GUI AND NOT gui EQUAL -1)
  message(FATAL_ERROR "libcaldrengui.so is installed though the windows are not built")
endif()

file(MAKE_DIRECTORY "${WORK}/home" "${WORK}/client")
file(COPY_FILE "${folder}/DEMO.CLD" "${WORK}/client/DEMO.CLD")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
          --unset=QT_QPA_PLATFORM --unset=LD_LIBRARY_PATH HOME=${WORK}/home
          XDG_CONFIG_HOME=${WORK}/home/config XDG_DATA_HOME=${WORK}/home/data
          "${WORK}/opt/caldren/bin/CaldrenCalc" /input "${WORK}/client/DEMO.CLD"
          /output "${WORK}/client/DEMO.txt" /silent
  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed program's batch run exited with ${rc}:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/client/DEMO.txt" "${EXPECTED}"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the report file differs from ${EXPECTED}")
endif()
file(REMOVE_RECURSE "${WORK}")
