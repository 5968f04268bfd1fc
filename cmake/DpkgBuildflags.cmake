# Compiles and links every target with the flags Debian builds its packages
# with, as dpkg-buildflags gives them with all hardening features on: stack
# protector, _FORTIFY_SOURCE, format checks, read-only relocations and
# immediate binding. CMake reads no CPPFLAGS, so the preprocessor's go with
# the compilers' flags, as debhelper does.
# dpkg-buildflags maps the folder it runs in (the source tree) to "." in the
# debugging information; the build tree is mapped to "build" after it, so that
# the binaries do not depend on where either lies.
find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind CFLAGS CXXFLAGS CPPFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE dpkg_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(build_map "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
string(APPEND CMAKE_C_FLAGS " ${dpkg_CFLAGS} ${dpkg_CPPFLAGS} ${build_map}")
string(APPEND CMAKE_CXX_FLAGS " ${dpkg_CXXFLAGS} ${dpkg_CPPFLAGS} ${build_map}")
foreach(kind EXE SHARED MODULE)
  string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${dpkg_LDFLAGS}")
endforeach()
