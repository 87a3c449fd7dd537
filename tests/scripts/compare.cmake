# Runs the script driver on SCRIPT (with OPTION, if given) and compares what it prints with
# EXPECTED, byte for byte.
execute_process(
    COMMAND "${DRIVER}" ${OPTION} "${SCRIPT}"
    OUTPUT_VARIABLE actual
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "quorvale-script exited with ${status}: ${errors}")
endif()
file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
    file(WRITE "${OUTPUT}" "${actual}")
    message(FATAL_ERROR "Output differs from ${EXPECTED}; it was written to ${OUTPUT}. "
                        "Compare with: diff ${EXPECTED} ${OUTPUT}")
endif()
