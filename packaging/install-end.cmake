# Runs at the end of an install straight onto this machine (a staged DESTDIR install is a
# package's business, and its package manager keeps the list): writes the manifest that
# scripts/uninstall reads into the prefix itself, so each prefix knows its own install. A second
# install to the same prefix adds to the manifest, so nothing the first one made is forgotten.
# In: QUORVALE_MANIFEST (relative to the prefix), quorvale_created_dirs (install-begin.cmake),
#     CMAKE_INSTALL_MANIFEST_FILES (every file installed so far, kept by CMake).

if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()

set(manifest "${CMAKE_INSTALL_PREFIX}/${QUORVALE_MANIFEST}")
cmake_path(NORMAL_PATH manifest)
set(files ${CMAKE_INSTALL_MANIFEST_FILES})
set(dirs ${quorvale_created_dirs})
if(EXISTS "${manifest}")
    file(STRINGS "${manifest}" previous)
    foreach(line IN LISTS previous)
        if(line MATCHES "^file (.*)$")
            list(APPEND files "${CMAKE_MATCH_1}")
        elseif(line MATCHES "^dir (.*)$")
            list(APPEND dirs "${CMAKE_MATCH_1}")
        endif()
    endforeach()
endif()
list(APPEND files "${manifest}")
list(REMOVE_DUPLICATES files)
list(REMOVE_DUPLICATES dirs)

set(text "# Quorvale's install under ${CMAKE_INSTALL_PREFIX}: scripts/uninstall removes each file,\n")
string(APPEND text "# then each directory that the install created, once it is empty.\n")
foreach(file IN LISTS files)
    string(APPEND text "file ${file}\n")
endforeach()
foreach(dir IN LISTS dirs)
    string(APPEND text "dir ${dir}\n")
endforeach()
file(WRITE "${manifest}" "${text}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${manifest}")
message(STATUS "Installed under ${CMAKE_INSTALL_PREFIX}; to remove it: scripts/uninstall ${CMAKE_INSTALL_PREFIX}")
