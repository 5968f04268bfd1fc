# Run by cpack's External generator (cpack -G External) on a Windows build:
# makes the MSI of this build's width from the files CPack staged, with wixl
# from msitools. relaylink.wxs.in describes the package.
find_program(WIXL wixl REQUIRED)
set(product_name "Config Utility for Network Relay (${CPACK_RELAY_MSI_ARCH})")
set(product_version ${CPACK_PACKAGE_VERSION})
set(upgrade_code ${CPACK_RELAY_MSI_UPGRADE_CODE})
if(CPACK_RELAY_MSI_ARCH STREQUAL "x64")
  set(program_files ProgramFiles64Folder)
  set(win64 yes)
else()
  set(program_files ProgramFilesFolder)
  set(win64 no)
endif()
set(wxs ${CPACK_TOPLEVEL_DIRECTORY}/relaylink.wxs)
set(msi ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)
configure_file(${CPACK_RELAY_WXS} ${wxs} @ONLY)
# wixl takes the files' paths relative to the folder it runs in.
execute_process(COMMAND ${WIXL} --arch ${CPACK_RELAY_MSI_ARCH} --output ${msi} ${wxs}
                WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY} COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
