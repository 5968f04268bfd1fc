# Gives a Windows program a version resource: file and product version, its
# name as product and file name, and DESCRIPTION (what Explorer's Details tab
# and the installers show).
function(relay_program_version target description)
  set(name ${target})
  set(rc_version ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/ProgramVersion.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
endfunction()
