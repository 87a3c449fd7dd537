# The release history exists twice: in the changelog that becomes the package's changelog.gz and
# in the AppStream metadata software centres show. Both must list the same releases, newest first,
# with the same dates, and the newest must be the version being built.
# Usage: cmake -D CHANGELOG=... -D METAINFO=... -D VERSION=... -P releases.cmake

set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

file(STRINGS "${CHANGELOG}" lines)
set(from_changelog)
set(version)
foreach(line IN LISTS lines)
    if(line MATCHES "^quorvale \\(([^)]+)\\) ")
        set(version "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^ -- .+>  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        list(FIND months "${CMAKE_MATCH_2}" month)
        math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
        if(month LESS 10)
            set(month "0${month}")
        endif()
        list(APPEND from_changelog "${version} ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
    endif()
endforeach()

file(READ "${METAINFO}" metainfo)
string(REGEX MATCHALL "<release version=\"[^\"]+\" date=\"[^\"]+\"" releases "${metainfo}")
set(from_metainfo)
foreach(release IN LISTS releases)
    string(REGEX REPLACE "<release version=\"([^\"]+)\" date=\"([^\"]+)\"" "\\1 \\2" release
        "${release}")
    list(APPEND from_metainfo "${release}")
endforeach()

if(NOT from_changelog)
    message(FATAL_ERROR "${CHANGELOG} has no entry in Debian changelog form")
endif()
if(NOT from_changelog STREQUAL from_metainfo)
    list(JOIN from_changelog "\n  " a)
    list(JOIN from_metainfo "\n  " b)
    message(FATAL_ERROR "The release histories differ.\n${CHANGELOG}:\n  ${a}\n${METAINFO}:\n  ${b}")
endif()
list(GET from_changelog 0 newest)
if(NOT newest MATCHES "^${VERSION} ")
    message(FATAL_ERROR "The newest release is ${newest}, but the project's version is ${VERSION}")
endif()
