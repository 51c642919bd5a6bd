# Runs pelliwig-sim on one script and checks what it says.
#
#   cmake -DSIM=path -DSCRIPT=file [-DSEED=n] [-DZONE=zone] [-DFLAGS=a,b]
#         [-DSTDIN=ON] [-DSTORE=file -DBEFORE=script] -DEXPECTED=file -P RunSim.cmake
#       standard output must equal EXPECTED; BEFORE is played first on STORE
#   cmake -DSIM=path -DSCRIPT=file -DMODE=reject -P RunSim.cmake
#       the script is refused with status 2, nothing on standard output, and
#       standard error saying exactly what its "# expect: " comment says
cmake_minimum_required(VERSION 3.25)

if(NOT SEED)
  set(SEED 1)
endif()
if(NOT ZONE)
  set(ZONE Europe/Berlin)
endif()
set(args --tz ${ZONE} --locale en_US --seed ${SEED})
if(FLAGS)
  string(REPLACE "," ";" flags "${FLAGS}")
  list(APPEND args ${flags})
endif()

if(MODE STREQUAL "reject")
  file(STRINGS "${SCRIPT}" expect REGEX "^# expect: ")
  string(REGEX REPLACE "^# expect: " "" expect "${expect}")
  execute_process(COMMAND "${SIM}" ${args} "${SCRIPT}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  string(STRIP "${err}" err)
  if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL expect)
    message(FATAL_ERROR "expected status 2 and \"${expect}\"\n"
                        "got status ${status}, error \"${err}\", output:\n${out}")
  endif()
  return()
endif()

if(STORE)
  file(REMOVE "${STORE}")
  list(APPEND args --store "${STORE}")
  execute_process(COMMAND "${SIM}" ${args} "${BEFORE}" OUTPUT_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${BEFORE} failed with status ${status}")
  endif()
endif()

if(STDIN)
  execute_process(COMMAND "${SIM}" ${args} - INPUT_FILE "${SCRIPT}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
else()
  execute_process(COMMAND "${SIM}" ${args} "${SCRIPT}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "status ${status}: ${err}")
endif()

file(READ "${EXPECTED}" expected)
if(NOT out STREQUAL expected)
  get_filename_component(name "${EXPECTED}" NAME)
  set(actual "${CMAKE_CURRENT_BINARY_DIR}/${name}.actual")
  file(WRITE "${actual}" "${out}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${actual}")
  message(FATAL_ERROR "output differs from ${EXPECTED}; it is in ${actual}")
endif()
