# Renders a manual page the way man(1) shows it and the way lintian checks it, and fails on any
# warning from the formatter (an unknown macro, a line that cannot be broken, a bad escape).
# Usage: cmake -D PAGE=path/to/page.6 -P manpage.cmake

find_program(man man)
if(NOT man)
    message(FATAL_ERROR "man not found: install the Debian package man-db "
        "(scripts/deps scripts/packages-test.txt)")
endif()

set(problems)
foreach(width IN ITEMS 80 60)
    foreach(mode IN ITEMS terminal lintian)
        set(args --warnings -l)
        if(mode STREQUAL lintian)
            set(args --warnings -E UTF-8 -l -Tutf8 -Z)
        endif()
        execute_process(
            COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C.UTF-8 MANWIDTH=${width} MANROFFSEQ=
                    "${man}" ${args} "${PAGE}"
            OUTPUT_VARIABLE rendered
            ERROR_VARIABLE warnings
            RESULT_VARIABLE result)
        if(NOT result EQUAL 0 OR NOT warnings STREQUAL "" OR rendered STREQUAL "")
            list(APPEND problems "man ${args} at ${width} columns (status ${result}):\n${warnings}")
        endif()
    endforeach()
endforeach()
if(problems)
    list(JOIN problems "\n" text)
    message(FATAL_ERROR "${PAGE} does not render cleanly:\n${text}")
endif()
