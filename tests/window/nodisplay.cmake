# Starts the game with an empty environment (no DISPLAY, no WAYLAND_DISPLAY, no QT_QPA_PLATFORM)
# and expects one line on stderr, nothing on stdout, and exit status 1.
execute_process(
    COMMAND env -i "${GAME}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    TIMEOUT 30
)
if(NOT status STREQUAL "1")
    message(FATAL_ERROR "exit status '${status}', expected 1; stderr:\n${err}")
endif()
if(NOT out STREQUAL "")
    message(FATAL_ERROR "printed on stdout:\n${out}")
endif()
if(NOT err MATCHES "^quorvale: cannot open a display: [^\n]+\n$")
    message(FATAL_ERROR "expected one line 'quorvale: cannot open a display: ...', got:\n${err}")
endif()
