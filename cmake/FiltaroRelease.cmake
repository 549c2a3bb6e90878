# What a release is made of beside the programs: the version they report,
# their manual pages and bash completion, and the resources of the Windows
# programs. Included by the top CMakeLists.txt before the sources.

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
# template data/man/<program>.1.in and what the program prints for --help,
# compressed as Debian installs manual pages; its footer names the release
# and its date. A component is installed only on request, as the program
# itself is.
function(filtaro_manual_page program)
    cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
    set(_template "${PROJECT_SOURCE_DIR}/data/man/${program}.1.in")
    set(_page "${FILTARO_GENERATED_DIR}/man/${program}.1")
    add_custom_command(OUTPUT "${_page}" "${_page}.gz"
        COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
                "$<TARGET_FILE:filtaro-docgen>" man "$<TARGET_FILE:${program}>" "${_template}"
                "${PROJECT_VERSION}" "${FILTARO_RELEASE_DATE}" "${_page}"
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

# The Windows programs' icon is drawn by filtaro-icons, a Qt program that a
# cross build cannot build for itself: it runs the one of a build for the
# build host (the windows-release preset names build/release's).
set(FILTARO_ICON_TOOL "" CACHE FILEPATH
    "filtaro-icons of a build for the build host; draws the icon of the Windows programs")
if(WIN32)
    enable_language(RC)
    if(FILTARO_ICON_TOOL AND NOT EXISTS "${FILTARO_ICON_TOOL}")
        message(FATAL_ERROR "FILTARO_ICON_TOOL: ${FILTARO_ICON_TOOL} does not exist; build it "
                            "first (cmake --preset release && cmake --build --preset release "
                            "--target filtaro-icons), as make windows-zip does")
    endif()
endif()

# filtaro_windows_resources(<target> DESCRIPTION <text>)
# The resources of a Windows program: version information (company,
# product, version, description), the program icon when FILTARO_ICON_TOOL
# names the icon generator, and the application manifest (UTF-8 as the
# active code page, paths beyond MAX_PATH, the Windows versions it was made
# for).
function(filtaro_windows_resources target)
    cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
    set(_dir "${FILTARO_GENERATED_DIR}/windows/${target}")
    set(FILTARO_RC_TARGET "${target}")
    set(FILTARO_RC_DESCRIPTION "${ARG_DESCRIPTION}")
    set(FILTARO_RC_MANIFEST "${_dir}/${target}.manifest")
    set(FILTARO_RC_ICON "// No icon: FILTARO_ICON_TOOL was not given.")
    set(FILTARO_MANIFEST_VERSION
        "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
    set(_depends "${FILTARO_GENERATED_DIR}/FiltaroBuild.h" "${FILTARO_RC_MANIFEST}")
    if(FILTARO_ICON_TOOL)
        set(_icon "${_dir}/${target}.ico")
        add_custom_command(OUTPUT "${_icon}"
            COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                    "${FILTARO_ICON_TOOL}" --ico "${_icon}" 16 20 24 32 40 48 64 256
            DEPENDS "${FILTARO_ICON_TOOL}"
            COMMENT "Drawing the icon of ${target}.exe"
            VERBATIM)
        set(FILTARO_RC_ICON "1 ICON \"${_icon}\"")
        list(APPEND _depends "${_icon}")
    endif()
    configure_file("${PROJECT_SOURCE_DIR}/data/windows/program.manifest.in"
                   "${FILTARO_RC_MANIFEST}" @ONLY)
    configure_file("${PROJECT_SOURCE_DIR}/data/windows/program.rc.in" "${_dir}/${target}.rc"
                   @ONLY)
    target_sources(${target} PRIVATE "${_dir}/${target}.rc")
    # The .rc file is UTF-8 (the description's umlauts).
    set_source_files_properties("${_dir}/${target}.rc" PROPERTIES
        OBJECT_DEPENDS "${_depends}" COMPILE_OPTIONS "--codepage=65001")
    # Only the resource compiler reads the version header directly.
    target_include_directories(${target} PRIVATE
                               "$<$<COMPILE_LANGUAGE:RC>:${FILTARO_GENERATED_DIR}>")
    add_dependencies(${target} filtaro_version_files)
endfunction()
