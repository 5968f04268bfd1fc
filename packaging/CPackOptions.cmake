# Read by cpack for each generator (CPACK_PROJECT_CONFIG_FILE).

# Every file in the packages bears the time of this version, so that building
# the same sources again gives the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_RELAY_RELEASE_TIME})
endif()

# The MSI holds this tree's programs, library and license, in one folder.
if(CPACK_GENERATOR STREQUAL "External")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_RELAY_MSI_PROJECTS}")
  set(CPACK_MONOLITHIC_INSTALL ON)
  set(CPACK_PACKAGE_FILE_NAME relaylink-${CPACK_PACKAGE_VERSION}-${CPACK_RELAY_MSI_ARCH})
endif()
