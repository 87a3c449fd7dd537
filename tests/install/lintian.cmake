# Runs lintian at -EvIL +pedantic on the one .deb in DEB_DIR and fails on any tag it prints.
# Usage: cmake -D DEB_DIR=... -P lintian.cmake

find_program(lintian lintian)
if(NOT lintian)
    message("lintian is not installed: skipped (scripts/deps scripts/packages-test.txt)")
    return()
endif()
file(GLOB debs "${DEB_DIR}/*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "Expected one .deb in ${DEB_DIR}, found: ${debs}")
endif()

execute_process(
    COMMAND "${lintian}" -EvIL +pedantic --fail-on error,warning,info,pedantic "${debs}"
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors
    RESULT_VARIABLE result)
# lintian prints tags as "X: package: tag ..." on standard output.
string(REGEX MATCHALL "(^|\n)[EWIPX]: [^\n]*" tags "${output}")
if(NOT result EQUAL 0 OR tags)
    message(FATAL_ERROR "lintian (status ${result}) on ${debs}:\n${output}\n${errors}")
endif()
message(STATUS "lintian -EvIL +pedantic: nothing to report on ${debs}")
