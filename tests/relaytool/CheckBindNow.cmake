# Fails unless PROGRAM is linked for immediate binding and needs relaylink, so
# that the loader refuses to start it when the library or an export is missing.
execute_process(COMMAND readelf -d ${PROGRAM} OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "readelf could not read ${PROGRAM}")
endif()
if(NOT dynamic MATCHES "Flags:[^\n]* NOW")
  message(FATAL_ERROR "${PROGRAM} is not linked with immediate binding")
endif()
if(NOT dynamic MATCHES "NEEDED[^\n]*librelaylink")
  message(FATAL_ERROR "${PROGRAM} does not load relaylink")
endif()
