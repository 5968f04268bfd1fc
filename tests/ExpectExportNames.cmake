# Shared by the export checks: fails unless `names` (the exports found in
# LIBRARY) are exactly the lines of the file EXPECTED, in any order.
function(expect_export_names names)
  list(SORT names)
  file(STRINGS ${EXPECTED} expected)
  list(SORT expected)
  if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exports of ${LIBRARY} differ\n  found:    ${names}\n  expected: ${expected}")
  endif()
  list(LENGTH names count)
  message(STATUS "${count} exports, as expected")
endfunction()
