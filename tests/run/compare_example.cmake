# Runs the program on an example deck in a fresh directory, with Enter on standard input, and
# compares the report file and the console bytes with the ones stored beside the deck.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${EXAMPLE}/KORVENTAPSILUM.TSK" DESTINATION "${WORK}")
file(WRITE "${WORK}/enter.txt" "\n")
execute_process(
  COMMAND "${PROGRAM}"
  WORKING_DIRECTORY "${WORK}"
  INPUT_FILE "${WORK}/enter.txt"
  OUTPUT_FILE "${WORK}/console.out"
  ERROR_FILE "${WORK}/stderr.out"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}, expected 0")
endif()
file(SIZE "${WORK}/stderr.out" errors)
if(NOT errors EQUAL 0)
  file(READ "${WORK}/stderr.out" text)
  message(FATAL_ERROR "standard error is not empty: ${text}")
endif()
foreach(pair "KORVENTAPSILUM.SON;KORVENTAPSILUM.SON" "console.out;console.out")
  list(GET pair 0 expected)
  list(GET pair 1 actual)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
                  "${EXAMPLE}/${expected}" "${WORK}/${actual}" RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${WORK}/${actual} differs from ${EXAMPLE}/${expected}")
  endif()
endforeach()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
                "${EXAMPLE}/KORVENTAPSILUM.TSK" "${WORK}/KORVENTAPSILUM.TSK" RESULT_VARIABLE changed)
if(changed)
  message(FATAL_ERROR "the deck was changed")
endif()
