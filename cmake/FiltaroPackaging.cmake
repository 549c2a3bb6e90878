# The packages of a release, made by CPack from what the build installs: on
# Linux (make package) the Debian packages "filtaro" (the program,
# filtaro-cli, the desktop files, manual pages and bash completion) and
# "filtaro-devsim" (the simulator, the component "simulator").
# Their version is the one the programs report, read when cpack runs
# (FiltaroCPackOptions.cmake), so the package names and --version agree.

set(CPACK_PACKAGE_NAME filtaro)
set(CPACK_PACKAGE_VENDOR Filtaro)
set(CPACK_PACKAGE_CONTACT "${FILTARO_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
# Empty: each Debian package's synopsis is the first line of its own
# description (CPack would put one summary before both).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
configure_file("${PROJECT_SOURCE_DIR}/cmake/FiltaroCPackOptions.cmake.in"
               "${PROJECT_BINARY_DIR}/FiltaroCPackOptions.cmake" @ONLY)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/FiltaroCPackOptions.cmake")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(_doc_dir "${FILTARO_GENERATED_DIR}/doc")

if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CMAKE_CROSSCOMPILING)
    # Debian wants in each package's documentation folder the copyright file
    # and the Debian changelog, both compressed as gzip -9n does (no name,
    # no time: the same sources give the same files); the program's package
    # also carries the upstream changelog, NEWS.md.
    add_custom_command(OUTPUT "${_doc_dir}/changelog.Debian.gz"
        COMMAND "${CMAKE_COMMAND}" -E copy "${FILTARO_GENERATED_DIR}/changelog.Debian"
                "${_doc_dir}/changelog.Debian"
        COMMAND gzip -9 -n -f "${_doc_dir}/changelog.Debian"
        DEPENDS "${FILTARO_GENERATED_DIR}/changelog.Debian"
        VERBATIM)
    add_custom_command(OUTPUT "${_doc_dir}/changelog.gz"
        COMMAND "${CMAKE_COMMAND}" -E copy "${PROJECT_SOURCE_DIR}/NEWS.md" "${_doc_dir}/changelog"
        COMMAND gzip -9 -n -f "${_doc_dir}/changelog"
        DEPENDS "${PROJECT_SOURCE_DIR}/NEWS.md"
        VERBATIM)
    add_custom_target(filtaro_package_docs ALL
        DEPENDS "${_doc_dir}/changelog.Debian.gz" "${_doc_dir}/changelog.gz")
    install(FILES "${PROJECT_SOURCE_DIR}/data/debian/copyright" "${_doc_dir}/changelog.Debian.gz"
                  "${_doc_dir}/changelog.gz"
            DESTINATION "${CMAKE_INSTALL_DOCDIR}")
    install(FILES "${PROJECT_SOURCE_DIR}/data/debian/copyright" "${_doc_dir}/changelog.Debian.gz"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/filtaro-devsim"
            COMPONENT simulator EXCLUDE_FROM_ALL)

    set(CPACK_GENERATOR DEB)
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_ALL filtaro simulator)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FILTARO_MAINTAINER}")
    set(CPACK_DEBIAN_PACKAGE_SECTION sound)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

    set(CPACK_DEBIAN_FILTARO_PACKAGE_NAME filtaro)
    # Beside the libraries dpkg-shlibdeps finds: the window needs a platform
    # plugin (xcb, and offscreen for --screenshot), the standard dialogs speak
    # German with Qt's translations, and the dialogs are laid out for
    # Liberation Sans.
    set(CPACK_DEBIAN_FILTARO_PACKAGE_DEPENDS
        "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
    set(CPACK_COMPONENT_FILTARO_DESCRIPTION
"control program of a digital loudspeaker crossover and equaliser
Filtaro controls a digital loudspeaker crossover and equaliser with six
output channels and four presets over a serial port. For every channel it
sets the high-pass and low-pass filters, delay, level, input and six
equaliser bands, draws the magnitude, phase and group delay of the channels
and their sums, and sends the presets to the device and reads them back.
Every change can be undone, and settings are kept as backups before they
are overwritten.
.
The package holds the window (filtaro, German) and filtaro-cli, which does
the same without a window: showing and writing parameter files, drawing
curves, importing and exporting the filters of Room EQ Wizard, Equalizer APO
and CamillaDSP, fitting the equaliser to measurements, and sending,
receiving and comparing the device's settings.")

    set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME filtaro-devsim)
    set(CPACK_COMPONENT_SIMULATOR_DESCRIPTION
"simulated crossover for trying Filtaro without the device
filtaro-devsim answers on a pseudo-terminal as the digital loudspeaker
crossover does, so that filtaro and filtaro-cli can be tried and tested
without hardware. It keeps the device's memory in a file on request and
can play a faulty device: silent, answering wrongly or too little, or
storing a byte wrongly.")
endif()

include(CPack)
