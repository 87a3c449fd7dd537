# Checks that the staged desktop entry launches the staged game by its absolute installed path,
# names an icon that is installed, matches the window's WM_CLASS, and that the AppStream
# metadata launches this entry, is content-rated, lists a release for this VERSION and shows
# screenshots that are in the repository (SOURCE_DIR).
# Usage: cmake -D STAGE_DIR=... -D PREFIX=/usr -D APP_ID=... -D WM_CLASS=... -D VERSION=...
#              -D SOURCE_DIR=... -P check_entry.cmake

set(root "${STAGE_DIR}${PREFIX}")
set(desktop "${root}/share/applications/${APP_ID}.desktop")
set(metainfo "${root}/share/metainfo/${APP_ID}.metainfo.xml")

file(STRINGS "${desktop}" lines)
set(errors)

function(entry_value key out)
    set(value)
    foreach(line IN LISTS lines)
        if(line MATCHES "^${key}=(.*)$")
            set(value "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

foreach(key Exec TryExec)
    entry_value(${key} value)
    if(NOT value STREQUAL "${PREFIX}/games/quorvale")
        list(APPEND errors "${key}=${value}, expected ${PREFIX}/games/quorvale")
    else()
        set(path "${STAGE_DIR}${value}")
        execute_process(COMMAND test -f "${path}" -a -x "${path}" RESULT_VARIABLE not_executable)
        if(not_executable)
            list(APPEND errors "${key} names ${value}, which is not installed as an executable")
        endif()
    endif()
endforeach()

entry_value(Icon icon)
foreach(file IN ITEMS scalable/apps/${icon}.svg 48x48/apps/${icon}.png)
    if(NOT EXISTS "${root}/share/icons/hicolor/${file}")
        list(APPEND errors "Icon=${icon} but share/icons/hicolor/${file} is not installed")
    endif()
endforeach()

entry_value(StartupWMClass wm_class)
if(NOT wm_class STREQUAL WM_CLASS)
    list(APPEND errors "StartupWMClass=${wm_class}, the window's class is ${WM_CLASS}")
endif()

file(READ "${metainfo}" metainfo_text)
# Each pattern the metadata must match, and what it means when it does not.
set(expectations
    "<launchable type=\"desktop-id\">${APP_ID}\\.desktop</launchable>"
    "metainfo does not launch ${APP_ID}.desktop"
    "<id>${APP_ID}</id>"
    "metainfo id is not ${APP_ID}"
    "<content_rating type=\"oars-1[.]1\""
    "metainfo has no OARS 1.1 content rating"
    "<release version=\"${VERSION}\" date=\"[0-9]+-[0-9]+-[0-9]+\""
    "metainfo has no dated release entry for version ${VERSION}")
list(LENGTH expectations count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET expectations ${i} pattern)
    list(GET expectations ${j} problem)
    if(NOT metainfo_text MATCHES "${pattern}")
        list(APPEND errors "${problem}")
    endif()
endforeach()

# A software centre shows the screenshots from the project's repository: each one the metadata
# names must be there, at the size it says.
string(REGEX MATCHALL "<image type=\"source\" width=\"[0-9]+\" height=\"[0-9]+\">[^<]+</image>"
       images "${metainfo_text}")
if(NOT images)
    list(APPEND errors "metainfo shows no screenshot")
endif()
foreach(image IN LISTS images)
    string(REGEX MATCH "width=\"([0-9]+)\" height=\"([0-9]+)\">([^<]+)<" _ "${image}")
    set(size "${CMAKE_MATCH_1}x${CMAKE_MATCH_2}")
    set(url "${CMAKE_MATCH_3}")
    string(REGEX REPLACE "^https://raw[.]githubusercontent[.]com/quorvale/quorvale/main/" ""
           file "${url}")
    if(file STREQUAL url OR NOT EXISTS "${SOURCE_DIR}/${file}")
        list(APPEND errors "screenshot ${url} is not a file of the repository")
        continue()
    endif()
    file(READ "${SOURCE_DIR}/${file}" header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 8 w)
    string(SUBSTRING "${header}" 40 8 h)
    math(EXPR width "0x${w}")
    math(EXPR height "0x${h}")
    if(NOT "${width}x${height}" STREQUAL size)
        list(APPEND errors "screenshot ${file} is ${width}x${height}, the metainfo says ${size}")
    endif()
endforeach()

if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "Desktop entry problems:\n  ${text}")
endif()
