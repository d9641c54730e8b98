# A batch run opens its data file for reading once: loading it and saving it back share
# what was read (the file is unchanged in between). Two runs on DEMO.CLD, each counted by
# the preloaded libcountopens.so.
#   cmake -DPROGRAM=<CaldrenCalc> -DSHIM=<libcountopens.so> -DDEMO=<DEMO.CLD> -DWORK=<folder>
#         -P ReadsOnce.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home")
file(COPY "${DEMO}" DESTINATION "${WORK}")
foreach(run 1 2)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LD_PRELOAD=${SHIM} CALDREN_COUNT_OPENS=DEMO.CLD
            CALDREN_COUNT_OUT=${WORK}/count "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}:verify_asan_link_order=0"
            HOME=${WORK}/home
            XDG_CONFIG_HOME=${WORK}/home/config XDG_DATA_HOME=${WORK}/home/data
            ${PROGRAM} /input ${WORK}/DEMO.CLD /output ${WORK}/out.txt /silent
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "run ${run} failed (${rc}): ${err}")
  endif()
  file(READ "${WORK}/count" count)
  if(NOT count STREQUAL "1")
    message(FATAL_ERROR "run ${run} opened DEMO.CLD for reading ${count} times, not once")
  endif()
endforeach()
