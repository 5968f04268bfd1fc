# Writes the linker inputs that name the library's exports, from the one list
# of names (relaylink/exports.txt) and the declarations in relaylink.h:
#   relaylink.map      version script of the ELF library
#   relaylink.def      module-definition file of the 64-bit DLL
#   relaylink-x86.def  the same for the 32-bit DLL, whose __stdcall functions
#                      are named Name@bytes and exported under the plain name
#   relaylink-x86-import.def  the 32-bit DLL's exports for the ZIP's users, as
#                      import-library tools read them: Name@bytes, bound to
#                      the plain name (dlltool --kill-at)
#   export_names.inc   the names as a C initializer list, for tests
# Fails when the list and the header's functions differ.
function(relaylink_write_export_files list header out)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list} ${header})
  file(STRINGS ${list} names)
  file(READ ${header} text)
  string(REGEX MATCHALL "RELAYLINK_CALL [A-Za-z]+\\([^)]*\\)" declarations "${text}")
  set(declared)
  set(map_names)
  set(def64)
  set(def32)
  set(def32_import)
  set(c_names)
  foreach(declaration IN LISTS declarations)
    string(REGEX MATCH "RELAYLINK_CALL ([A-Za-z]+)\\(([^)]*)\\)" _ "${declaration}")
    set(name ${CMAKE_MATCH_1})
    list(APPEND declared ${name})
    # Every parameter (pointer or 16-bit number) takes 4 bytes of a 32-bit stack.
    set(bytes 0)
    if(NOT CMAKE_MATCH_2 STREQUAL "void")
      string(REGEX MATCHALL "[^,]+" parameters "${CMAKE_MATCH_2}")
      list(LENGTH parameters count)
      math(EXPR bytes "4 * ${count}")
    endif()
    string(APPEND map_names " ${name};")
    string(APPEND def64 "  ${name}\n")
    string(APPEND def32 "  ${name}@${bytes} == ${name}\n")
    string(APPEND def32_import "  ${name}@${bytes}\n")
    string(APPEND c_names "\"${name}\",\n")
  endforeach()
  set(sorted_names ${names})
  list(SORT sorted_names)
  list(SORT declared)
  if(NOT sorted_names STREQUAL declared)
    message(FATAL_ERROR "${header} declares ${declared}\nbut ${list} names ${sorted_names}")
  endif()
  file(CONFIGURE OUTPUT ${out}/relaylink.map CONTENT "{\n  global:${map_names}\n  local: *;\n};\n" @ONLY)
  file(CONFIGURE OUTPUT ${out}/relaylink.def CONTENT "LIBRARY relaylink.dll\nEXPORTS\n${def64}" @ONLY)
  file(CONFIGURE OUTPUT ${out}/relaylink-x86.def CONTENT "LIBRARY relaylink.dll\nEXPORTS\n${def32}" @ONLY)
  file(CONFIGURE OUTPUT ${out}/relaylink-x86-import.def CONTENT "LIBRARY relaylink.dll\nEXPORTS\n${def32_import}"
       @ONLY)
  file(CONFIGURE OUTPUT ${out}/export_names.inc CONTENT "${c_names}" @ONLY)
endfunction()
