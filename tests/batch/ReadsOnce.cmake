# A batch run reads its data file and the component registry once each: loading the data
# file and saving it back share what was read (the file is unchanged in between), and one
# look-up in the registry makes every engine object of the run. Two runs on DEMO.CLD with the
# engine registered in the run's own registry, each counted by the preloaded
# libcountopens.so.
#   cmake -DPROGRAM=<CaldrenCalc> -DSHIM=<libcountopens.so> -DENGINE=<libvesmora.so>
#         -DPYTHON=<python3> -DDEMO=<DEMO.CLD> -DWORK=<folder> -P ReadsOnce.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home")
file(COPY "${DEMO}" DESTINATION "${WORK}")
set(home HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/config XDG_DATA_HOME=${WORK}/home/data)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${home}
          "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}:verify_asan_link_order=0:detect_leaks=0" ${PYTHON} -c
          "import ctypes, sys; sys.exit(ctypes.CDLL('${ENGINE}').DllRegisterServer())"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/home/config/Orlenwick/components.reg")
  message(FATAL_ERROR "the engine could not be registered (${rc})")
endif()
foreach(run 1 2)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LD_PRELOAD=${SHIM} CALDREN_COUNT_OPENS=DEMO.CLD:components.reg
            CALDREN_COUNT_OUT=${WORK}/count "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}:verify_asan_link_order=0"
            ${home} ${PROGRAM} /input ${WORK}/DEMO.CLD /output ${WORK}/out.txt /silent
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "run ${run} failed (${rc}): ${err}")
  endif()
  file(READ "${WORK}/count" count)
  if(NOT count STREQUAL "1 1 0 0")
    message(FATAL_ERROR "run ${run} opened DEMO.CLD and the registry for reading "
                        "\"${count}\" times, not once each")
  endif()
endforeach()
