# Gives a Windows console program a version resource: file and product
# version, the publisher and product, its file name, and DESCRIPTION (what
# Explorer's Details tab and the installers show); and a manifest that runs it
# with the caller's rights on Windows 7 to 11.
function(relay_program_version target description)
  set(name ${target})
  set(manifest ${PROJECT_SOURCE_DIR}/cmake/ConsoleProgram.manifest)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc APPEND PROPERTY OBJECT_DEPENDS ${manifest})
  set(rc_version ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/ProgramVersion.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
endfunction()
