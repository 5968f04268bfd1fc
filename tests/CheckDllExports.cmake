# Compares the export table of a Windows DLL with a list of names: every
# export must be named (none by ordinal only) and the names must match exactly.
# Usage: cmake -DOBJDUMP=objdump -DLIBRARY=path.dll -DEXPECTED=names.txt -P CheckDllExports.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ExpectExportNames.cmake)
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p failed on ${LIBRARY}")
endif()
# The name table lists one "[ index] Name" line per named export; the address
# table counts every export, named or not.
string(REGEX MATCH "Export Address Table -- Ordinal Base [0-9]+\n(\t\\[[^\n]+\n)*" addresses "${dump}")
string(REGEX MATCHALL "\\+base" address_entries "${addresses}")
list(LENGTH address_entries address_count)
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(\t\\[[^\n]+\n)*" table "${dump}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(names)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\t\\[ *[0-9]+\\] " "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
list(LENGTH names count)
if(NOT address_count EQUAL count)
  message(FATAL_ERROR "${LIBRARY} exports ${address_count} entries, only ${count} of them by name")
endif()
expect_export_names("${names}")
