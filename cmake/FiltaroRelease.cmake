# What a release is made of beside the programs: the version they report,
# and their manual pages and bash completion. Included by the top
# CMakeLists.txt before the sources.

# Who answers for the packages (the Debian changelog and control files).
set(FILTARO_MAINTAINER "Filtaro <info@filtaro.org>")

# The newest release in the AppStream metainfo. Its date is the date of the
# manual pages and, in a source tree without git, of the Debian changelog;
# a test checks that its version is the project's (tests/CMakeLists.txt).
set(FILTARO_METAINFO "${PROJECT_SOURCE_DIR}/data/org.filtaro.Filtaro.metainfo.xml")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${FILTARO_METAINFO}")
file(STRINGS "${FILTARO_METAINFO}" _newest_release REGEX "<release " LIMIT_COUNT 1)
if(NOT _newest_release MATCHES "date=\"(([0-9][0-9][0-9][0-9])-[0-9][0-9]-[0-9][0-9])\"")
    message(FATAL_ERROR "${FILTARO_METAINFO}: no <release> with a date YYYY-MM-DD")
endif()
set(FILTARO_RELEASE_DATE "${CMAKE_MATCH_1}")
set(FILTARO_RELEASE_YEAR "${CMAKE_MATCH_2}")

# Files made while building (the version header, the manual pages, ...).
set(FILTARO_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")

# The version is worked out at every build, not only when CMake configures:
# a commit made since shows at once. The files are rewritten only when the
# version changed, so an unchanged version rebuilds nothing.
add_custom_target(filtaro_version_files
    COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
            "-DRELEASE=${PROJECT_VERSION}" "-DRELEASE_DATE=${FILTARO_RELEASE_DATE}"
            "-DMAINTAINER=${FILTARO_MAINTAINER}" "-DOUTPUT_DIR=${FILTARO_GENERATED_DIR}"
            -P "${PROJECT_SOURCE_DIR}/cmake/FiltaroVersion.cmake"
    BYPRODUCTS "${FILTARO_GENERATED_DIR}/FiltaroBuild.h"
               "${FILTARO_GENERATED_DIR}/FiltaroVersion.cmake"
               "${FILTARO_GENERATED_DIR}/changelog.Debian"
    VERBATIM)

# filtaro_manual_page(<program> [COMPONENT <component>])
# The manual page of <program> (section 1), made by filtaro-docgen from the
# template data/man/<program>.1.in and what the program prints for --help
# and --version, compressed as Debian installs manual pages. A component is
# installed only on request, as the program itself is.
function(filtaro_manual_page program)
    cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
    set(_template "${PROJECT_SOURCE_DIR}/data/man/${program}.1.in")
    set(_page "${FILTARO_GENERATED_DIR}/man/${program}.1")
    add_custom_command(OUTPUT "${_page}" "${_page}.gz"
        COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
                "$<TARGET_FILE:filtaro-docgen>" man "$<TARGET_FILE:${program}>" "${_template}"
                "${FILTARO_RELEASE_DATE}" "${_page}"
        COMMAND gzip -9 -n -k -f "${_page}"
        DEPENDS filtaro-docgen ${program} "${_template}"
        COMMENT "Writing the manual page of ${program}"
        VERBATIM)
    add_custom_target(${program}_manual_page ALL DEPENDS "${_page}.gz")
    if(ARG_COMPONENT)
        install(FILES "${_page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
                COMPONENT ${ARG_COMPONENT} EXCLUDE_FROM_ALL)
    else()
        install(FILES "${_page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
    endif()
endfunction()

# filtaro_bash_completion(<program>)
# The bash completion of a program with commands, made by filtaro-docgen
# from its --help.
function(filtaro_bash_completion program)
    set(_script "${FILTARO_GENERATED_DIR}/bash-completion/${program}")
    add_custom_command(OUTPUT "${_script}"
        COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0
                "$<TARGET_FILE:filtaro-docgen>" bash-completion "$<TARGET_FILE:${program}>"
                "${_script}"
        DEPENDS filtaro-docgen ${program}
        COMMENT "Writing the bash completion of ${program}"
        VERBATIM)
    add_custom_target(${program}_bash_completion ALL DEPENDS "${_script}")
    install(FILES "${_script}" DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")
endfunction()
