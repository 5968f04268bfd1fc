# Run by cpack after it made the Debian packages (CPACK_POST_BUILD_SCRIPTS):
# finishes the library's package with dpkg-deb where CPack cannot. It gets
# "Multi-Arch: same", so that the library of each architecture can be
# installed side by side, and loses the postinst and postrm that CPack writes
# to call ldconfig, which the package's trigger already runs.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name ${package} NAME)
  if(NOT name MATCHES "^librelaylink[0-9]+_.*\\.deb$")
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/runtime-deb)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND ${DPKG_DEB} --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  file(READ ${tree}/DEBIAN/control control)
  string(STRIP "${control}" control)  # CPack ends it with an empty line
  file(WRITE ${tree}/DEBIAN/control "${control}\nMulti-Arch: same\n")
  execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zgzip --build ${tree} ${package}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
