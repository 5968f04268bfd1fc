# Read by cpack for each generator (CPACK_PROJECT_CONFIG_FILE).

# Every file in the packages bears the time of this version, so that building
# the same sources again gives the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_RELAY_RELEASE_TIME})
endif()

# Debian packages hold their files under /usr, the library in the multiarch
# folder (lib/x86_64-linux-gnu), where only a build for the prefix /usr puts
# it; a build for another prefix (the default /usr/local) would also write
# that prefix into the pkg-config file and the CMake package.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_RELAY_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "Debian packages need a build for the prefix /usr (this one is for ${CPACK_RELAY_INSTALL_PREFIX}): "
                      "make them with scripts/package, which builds the preset package")
endif()

# The MSI holds this tree's programs, library and license, in one folder.
if(CPACK_GENERATOR STREQUAL "External")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_RELAY_MSI_PROJECTS}")
  set(CPACK_MONOLITHIC_INSTALL ON)
  set(CPACK_PACKAGE_FILE_NAME relaylink-${CPACK_PACKAGE_VERSION}-${CPACK_RELAY_MSI_ARCH})
endif()
