# Installs the build into STAGE_DIR with DESTDIR and compares the sorted list of installed files
# with EXPECTED (one path a line, relative to STAGE_DIR).
# Usage: cmake -D BUILD_DIR=... -D CONFIG=... -D STAGE_DIR=... -D PREFIX=/usr -D EXPECTED=...
#              -P stage.cmake

foreach(var BUILD_DIR STAGE_DIR PREFIX EXPECTED)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "stage.cmake: ${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")

set(config_args)
if(CONFIG)
    set(config_args --config "${CONFIG}")
endif()
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env "DESTDIR=${STAGE_DIR}"
            "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" ${config_args}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR
        "Staged install failed (${result}); is the project fully built?\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${STAGE_DIR}" "${STAGE_DIR}/*")
list(SORT installed)

file(STRINGS "${EXPECTED}" expected REGEX "^[^#]")
list(SORT expected)

set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(unexpected ${installed})
list(REMOVE_ITEM unexpected ${expected})

if(missing OR unexpected)
    list(JOIN missing "\n  " missing_text)
    list(JOIN unexpected "\n  " unexpected_text)
    message(FATAL_ERROR "Installed files differ from ${EXPECTED}\n"
        "Missing:\n  ${missing_text}\nUnexpected:\n  ${unexpected_text}")
endif()

# Both programs are executables with immediate binding, and with no RUNPATH or RPATH: a search
# path of their own would let a library left beside them be loaded instead of the system's.
find_program(readelf readelf REQUIRED)
foreach(program IN ITEMS games/quorvale games/quorvale-script)
    set(path "${STAGE_DIR}${PREFIX}/${program}")
    execute_process(COMMAND test -f "${path}" -a -x "${path}" RESULT_VARIABLE not_executable)
    if(not_executable)
        message(FATAL_ERROR "${path} is not an executable file")
    endif()
    execute_process(COMMAND "${readelf}" --dynamic "${path}" OUTPUT_VARIABLE dynamic
        COMMAND_ERROR_IS_FATAL ANY)
    if(dynamic MATCHES "\\((RUNPATH|RPATH)\\)[^\n]*")
        message(FATAL_ERROR "${path} has a search path of its own: ${CMAKE_MATCH_0}")
    endif()
    if(NOT dynamic MATCHES "BIND_NOW" OR NOT dynamic MATCHES "PIE")
        message(FATAL_ERROR "${path} is not a PIE with immediate binding:\n${dynamic}")
    endif()
endforeach()

list(LENGTH installed count)
message(STATUS "${count} files installed as expected under ${STAGE_DIR}")
