# The version a build reports, worked out at every build (cmake -P), so that
# a commit made after configuring still shows.
#
#   cmake -DSOURCE_DIR=<checkout> -DRELEASE=<project version> -DOUTPUT_DIR=<dir>
#         -DRELEASE_DATE=<YYYY-MM-DD> [-DMAINTAINER=<name <mail>>] -P FiltaroVersion.cmake
#
# The release is the project's VERSION. Built from the checkout of that
# release (its tag "v<release>", nothing changed) or from a source tree
# without git, the version is the release itself. Anywhere else in the
# history it names the commit, in Debian's order of versions:
#   2.1.0~git20261207.486eeb2        before the tag v2.1.0 (or without it)
#   2.1.0+git20261210.1a2b3c4        after it
#   ....dirty                        with uncommitted changes
# so that the package of a later build always sorts after an earlier one of
# the same day's commit, and a snapshot before the release below the release.
#
# Writes, each only when its content changes (nothing rebuilds otherwise):
#   FiltaroBuild.h         the version for the programs and the .rc file
#   FiltaroVersion.cmake   the version for CPack (the package names)
#   changelog.Debian       the packages' Debian changelog

foreach(variable SOURCE_DIR RELEASE OUTPUT_DIR RELEASE_DATE)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "FiltaroVersion.cmake needs -D${variable}=...")
    endif()
endforeach()
if(NOT DEFINED MAINTAINER)
    set(MAINTAINER "Filtaro <info@filtaro.org>")
endif()

set(version "${RELEASE}")
set(commit_epoch "")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM)
    # Only the project's own checkout counts: a source tree unpacked inside
    # some other repository is a tree without git.
    execute_process(COMMAND "${GIT_PROGRAM}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
                    OUTPUT_VARIABLE toplevel OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE status ERROR_QUIET)
    file(REAL_PATH "${SOURCE_DIR}" source_real)
    if(status EQUAL 0)
        file(REAL_PATH "${toplevel}" toplevel)
    endif()
    if(status EQUAL 0 AND toplevel STREQUAL source_real)
        macro(git out)
            execute_process(COMMAND "${GIT_PROGRAM}" -C "${SOURCE_DIR}" ${ARGN}
                            OUTPUT_VARIABLE ${out} OUTPUT_STRIP_TRAILING_WHITESPACE
                            RESULT_VARIABLE git_status ERROR_QUIET)
            if(NOT git_status EQUAL 0)
                set(${out} "")
            endif()
        endmacro()
        git(hash rev-parse --short=7 HEAD)
        git(commit_epoch log -1 --format=%ct HEAD)
        git(changes status --porcelain --untracked-files=no)
        # "v2.1.0" at the tag, "v2.1.0-3-g1a2b3c4" after it, "" before it.
        git(described describe --tags --match "v${RELEASE}" HEAD)
        if(hash AND commit_epoch)
            if(described STREQUAL "v${RELEASE}" AND changes STREQUAL "")
                set(version "${RELEASE}")
            else()
                set(ENV{SOURCE_DATE_EPOCH} "${commit_epoch}")
                string(TIMESTAMP day "%Y%m%d" UTC)
                if(described STREQUAL "")
                    set(version "${RELEASE}~git${day}.${hash}")
                else()
                    set(version "${RELEASE}+git${day}.${hash}")
                endif()
                if(NOT changes STREQUAL "")
                    string(APPEND version ".dirty")
                endif()
            endif()
        endif()
    endif()
endif()

# write_if_changed(<file> <content>)
function(write_if_changed file content)
    if(EXISTS "${file}")
        file(READ "${file}" old)
        if(old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE "${file}" "${content}")
endfunction()

string(REPLACE "." ";" parts "${RELEASE}")
list(APPEND parts 0 0 0)
list(GET parts 0 major)
list(GET parts 1 minor)
list(GET parts 2 patch)
if(version STREQUAL RELEASE)
    set(snapshot 0)
else()
    set(snapshot 1)
endif()
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
write_if_changed("${OUTPUT_DIR}/FiltaroBuild.h"
"// Written by cmake/FiltaroVersion.cmake at every build; do not edit.
#define FILTARO_RELEASE \"${RELEASE}\"
#define FILTARO_VERSION \"${version}\"
#define FILTARO_RELEASE_MAJOR ${major}
#define FILTARO_RELEASE_MINOR ${minor}
#define FILTARO_RELEASE_PATCH ${patch}
#define FILTARO_SNAPSHOT ${snapshot}
")
write_if_changed("${OUTPUT_DIR}/FiltaroVersion.cmake"
"# Written by cmake/FiltaroVersion.cmake at every build; do not edit.
set(FILTARO_VERSION \"${version}\")
")

# The Debian changelog names the build the package holds; what the release
# brings is in the upstream changelog (NEWS.md). Its date is the commit's,
# or without git the release's, so that the same sources give the same
# package.
if(NOT commit_epoch)
    # Days since 1970-01-01 of the proleptic Gregorian date (H. Hinnant's
    # days_from_civil).
    string(REGEX MATCH "^([0-9]+)-0*([0-9]+)-0*([0-9]+)$" matched "${RELEASE_DATE}")
    if(NOT matched)
        message(FATAL_ERROR "RELEASE_DATE \"${RELEASE_DATE}\" is no YYYY-MM-DD")
    endif()
    set(y ${CMAKE_MATCH_1})
    set(m ${CMAKE_MATCH_2})
    set(d ${CMAKE_MATCH_3})
    if(m LESS_EQUAL 2)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR era "${y} / 400")
    math(EXPR yoe "${y} - ${era} * 400")
    math(EXPR mp "(${m} + 9) % 12")
    math(EXPR doy "(153 * ${mp} + 2) / 5 + ${d} - 1")
    math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
    math(EXPR commit_epoch "(${era} * 146097 + ${doe} - 719468) * 86400")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${commit_epoch}")
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
write_if_changed("${OUTPUT_DIR}/changelog.Debian"
"filtaro (${version}-1) unstable; urgency=medium

  * Filtaro ${version}.
    What each release brought is listed in the package filtaro,
    /usr/share/doc/filtaro/changelog.gz.

 -- ${MAINTAINER}  ${date}
")
