# Run by cpack's External generator (cpack -G External) on a Windows build:
# makes the MSI of this build's width from the files CPack staged, with wixl
# from msitools. relaylink.wxs.in describes the package.
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
set(publisher ${CPACK_PACKAGE_VENDOR})
# The name in Add/Remove Programs and of the Start-menu shortcut says the
# width, so that both widths installed side by side stay apart.
set(msi_name "${CPACK_RELAY_PRODUCT} (${CPACK_RELAY_MSI_ARCH})")
set(product_version ${CPACK_PACKAGE_VERSION})
set(upgrade_code ${CPACK_RELAY_MSI_UPGRADE_CODE})
set(help_url ${CPACK_RELAY_HELP_URL})
set(about_url ${CPACK_PACKAGE_HOMEPAGE_URL})
if(CPACK_RELAY_MSI_ARCH STREQUAL "x64")
  set(program_files ProgramFiles64Folder)
  set(win64 yes)
else()
  set(program_files ProgramFilesFolder)
  set(win64 no)
endif()
# The publisher's folder is a component without a file, whose GUID wixl
# cannot derive: one of its own for each width, the same in every version.
string(UUID vendor_folder_guid NAMESPACE ${upgrade_code} NAME "vendor folder" TYPE SHA1 UPPER)
set(wxs ${CPACK_TOPLEVEL_DIRECTORY}/relaylink.wxs)
set(msi ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)
configure_file(${CPACK_RELAY_WXS} ${wxs} @ONLY)
# wixl takes the files' paths relative to the folder it runs in.
execute_process(COMMAND ${WIXL} --arch ${CPACK_RELAY_MSI_ARCH} --output ${msi} ${wxs}
                WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY} COMMAND_ERROR_IS_FATAL ANY)
# wixl 0.101 drops IncludeMaximum: the row that replaces the installed
# versions gets its attributes anew, minimum and maximum included (0x300), so
# that the same version rebuilt replaces the installed one.
set(upgrade_row "'{${upgrade_code}}', '0.0.0', '${product_version}'")
execute_process(COMMAND ${MSIBUILD} ${msi}
  -q "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'REPLACED_VERSIONS'"
  -q "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES (${upgrade_row}, 768, 'REPLACED_VERSIONS')"
  COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
