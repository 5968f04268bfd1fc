# Read by cpack for each generator (CPACK_PROJECT_CONFIG_FILE).

# Every file in the packages bears the time of this version, so that building
# the same sources again gives the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_RELAY_RELEASE_TIME})
endif()

