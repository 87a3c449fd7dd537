# Builds the Debian package into OUT_DIR and checks its control fields and its file list.
# Usage: cmake -D BUILD_DIR=... -D CONFIG=... -D OUT_DIR=... -D EXPECTED=... -D VERSION=...
#              -P package.cmake

find_program(cpack NAMES cpack HINTS "${CMAKE_COMMAND}/.." REQUIRED)
foreach(tool dpkg-deb dpkg-shlibdeps)
    find_program(tool_${tool} ${tool})
    if(NOT tool_${tool})
        message(FATAL_ERROR "${tool} not found: install the Debian package dpkg-dev")
    endif()
endforeach()

file(REMOVE_RECURSE "${OUT_DIR}")
set(config_args)
if(CONFIG)
    set(config_args -C "${CONFIG}")
endif()
execute_process(
    COMMAND "${cpack}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT_DIR}"
            ${config_args}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed (${result}); is the project fully built?\n${output}")
endif()

file(GLOB debs "${OUT_DIR}/*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "Expected one .deb in ${OUT_DIR}, found: ${debs}")
endif()

set(errors)
execute_process(COMMAND "${tool_dpkg-deb}" --field "${debs}"
    OUTPUT_VARIABLE control RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${debs}")
endif()
foreach(field IN ITEMS "Package: quorvale" "Section: games" "Priority: optional"
        "Version: ${VERSION}" "Depends: [^\n]*libqt6widgets6" "Depends: [^\n]*libc6"
        "Depends: [^\n]*zlib1g" "Depends: [^\n]*libsdl2-2.0-0"
        "Maintainer: [^\n]+<[^\n]+@[^\n]+>" "Homepage: https://" "Description: [^\n]+\n [^\n]+")
    if(NOT control MATCHES "(^|\n)${field}")
        list(APPEND errors "control has no line matching '${field}'")
    endif()
endforeach()

execute_process(COMMAND "${tool_dpkg-deb}" --contents "${debs}"
    OUTPUT_VARIABLE contents RESULT_VARIABLE result)
string(REGEX MATCHALL "\\./[^\n]*[^/\n]\n" entries "${contents}")
set(packaged)
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\\./(.*)\n$" "\\1" path "${entry}")
    list(APPEND packaged "${path}")
endforeach()
list(SORT packaged)
file(STRINGS "${EXPECTED}" expected REGEX "^[^#]")
list(SORT expected)
if(NOT packaged STREQUAL expected)
    list(JOIN packaged "\n  " text)
    list(APPEND errors "packaged files differ from ${EXPECTED}:\n  ${text}")
endif()

if(errors)
    list(JOIN errors "\n" text)
    message(FATAL_ERROR "${debs}:\n${text}\n\n${control}")
endif()
message(STATUS "${debs} is a well-formed games package")
