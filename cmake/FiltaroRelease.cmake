# What a release is made of beside the programs: the version they report.
# Included by the top CMakeLists.txt before the sources.

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
