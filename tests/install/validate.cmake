# Runs a validator on one file and fails if the validator is missing or reports a problem.
# Usage: cmake -D TOOL=name -D PACKAGE=debian-package [-D TOOL_ARGS=a;b] -D FILE=path
#              -P validate.cmake

find_program(tool_path "${TOOL}")
if(NOT tool_path)
    message(FATAL_ERROR "${TOOL} not found: install the Debian package ${PACKAGE} "
        "(scripts/deps scripts/packages-test.txt)")
endif()
if(NOT EXISTS "${FILE}")
    message(FATAL_ERROR "${FILE} does not exist; did the staged install run?")
endif()

execute_process(
    COMMAND "${tool_path}" ${TOOL_ARGS} "${FILE}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
message("${output}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TOOL} rejected ${FILE} (exit status ${result})")
endif()
