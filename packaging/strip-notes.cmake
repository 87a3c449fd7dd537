# Runs after the programs are installed (install(SCRIPT) in packaging/CMakeLists.txt). When the
# install strips (`cmake --install --strip`, CPack), also removes the sections Debian's dh_strip
# removes and `strip` keeps: the compiler's .comment and the .note section.
# In: QUORVALE_GAMESDIR (relative to the prefix, or absolute), QUORVALE_OBJCOPY.

if(NOT CMAKE_INSTALL_DO_STRIP)
    return()
endif()
set(dir "${QUORVALE_GAMESDIR}")
if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
endif()
foreach(program IN ITEMS quorvale quorvale-script)
    execute_process(
        COMMAND "${QUORVALE_OBJCOPY}" --remove-section=.comment --remove-section=.note
                "$ENV{DESTDIR}${dir}/${program}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
