# A test (tests/CMakeLists.txt): the newest release in the AppStream metainfo
# and the newest version in NEWS.md are the project's version.
#   cmake -DVERSION=<project version> -DMETAINFO=<file> -DNEWS=<file> -P CheckRelease.cmake

# expect_newest(<file> <line regex> <version regex>): the first line of
# <file> that matches <line regex> names VERSION.
function(expect_newest file line version)
    file(STRINGS "${file}" newest REGEX "${line}" LIMIT_COUNT 1)
    string(REGEX MATCH "${version}" _ "${newest}")
    if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
        message(FATAL_ERROR "${file}: the newest version is \"${CMAKE_MATCH_1}\", "
                            "the project's \"${VERSION}\"")
    endif()
endfunction()

expect_newest("${METAINFO}" "<release " "version=\"([^\"]*)\"")
expect_newest("${NEWS}" "^## " "^## ([^ ]*)")
