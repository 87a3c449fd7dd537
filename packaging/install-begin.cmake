# Runs at the start of an install, before any file is copied (install(SCRIPT) in
# packaging/CMakeLists.txt). Notes which of the directories the install writes to, and which of
# their parents, are missing, so that scripts/uninstall removes the directories this install
# made and no others.
# In: QUORVALE_INSTALL_DIRS, relative to the install prefix (or absolute).
# Out: quorvale_created_dirs, read by install-end.cmake in the same install script.

set(quorvale_created_dirs)
foreach(dir IN LISTS QUORVALE_INSTALL_DIRS)
    if(NOT IS_ABSOLUTE "${dir}")
        set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
    endif()
    cmake_path(NORMAL_PATH dir)
    string(REGEX REPLACE "(.)/$" "\\1" dir "${dir}")
    while(NOT IS_DIRECTORY "$ENV{DESTDIR}${dir}")
        list(APPEND quorvale_created_dirs "${dir}")
        cmake_path(GET dir PARENT_PATH parent)
        if(parent STREQUAL dir)
            break()
        endif()
        set(dir "${parent}")
    endwhile()
endforeach()
list(REMOVE_DUPLICATES quorvale_created_dirs)
