# The packages of a release, made by CPack from what the build installs:
#   - on Linux (make package): the Debian packages "filtaro" (the program,
#     filtaro-cli, the desktop files, manual pages and bash completion) and
#     "filtaro-devsim" (the simulator, the component "simulator");
#   - in the cross build for Windows (make windows-zip): a zip of
#     filtaro-cli.exe with a short guide in German and English and the
#     licence texts of what is linked into it.
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

if(WIN32)
    # The zip: filtaro-cli.exe, LIESMICH.txt and README.txt (CRLF, as
    # Notepad and the console expect), NEWS.md, and in licenses/ the texts
    # of Filtaro's licence and of what the static link puts into the exe:
    # the MinGW-w64 runtime and winpthreads, libstdc++ and libgcc (GPL-3
    # with the GCC Runtime Library Exception), nlohmann/json. The texts are
    # the build host's own copies, so they belong to the compiler that built
    # the exe.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    set(CPACK_COMPONENTS_ALL filtaro)
    set(_licenses
        "${PROJECT_SOURCE_DIR}/data/windows/LICENSES.txt" LICENSES.txt
        "/usr/share/doc/mingw-w64-x86-64-dev/copyright" mingw-w64-runtime-and-winpthreads.txt
        "/usr/share/doc/gcc-mingw-w64-base/copyright" gcc-runtime-libstdc++-libgcc.txt
        "/usr/share/common-licenses/GPL-3" GPL-3.txt
        "/usr/share/doc/nlohmann-json3-dev/copyright" nlohmann-json.txt)
    while(_licenses)
        list(POP_FRONT _licenses _source _name)
        if(NOT EXISTS "${_source}")
            message(FATAL_ERROR "${_source} is missing: the licence text that goes with the zip")
        endif()
        file(READ "${_source}" _text)
        string(REGEX REPLACE "\r?\n" "\r\n" _text "${_text}")
        file(WRITE "${_doc_dir}/licenses/${_name}" "${_text}")
        install(FILES "${_doc_dir}/licenses/${_name}" DESTINATION licenses)
    endwhile()
    foreach(_guide LIESMICH.txt README.txt)
        configure_file("${PROJECT_SOURCE_DIR}/data/windows/${_guide}.in" "${_doc_dir}/${_guide}"
                       @ONLY NEWLINE_STYLE CRLF)
        install(FILES "${_doc_dir}/${_guide}" DESTINATION .)
    endforeach()
    configure_file("${PROJECT_SOURCE_DIR}/NEWS.md" "${_doc_dir}/NEWS.md" COPYONLY)
    install(FILES "${_doc_dir}/NEWS.md" DESTINATION .)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CMAKE_CROSSCOMPILING)
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
