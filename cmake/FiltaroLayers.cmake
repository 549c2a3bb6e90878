# Source selection shared by the layer targets.
#
# Each layer folder is globbed so that adding a file needs no CMake edit.
# Two naming rules keep the layers apart:
#   - in src/platform, a file says the system it needs: "<name>_linux.cpp"
#     uses Linux-only interfaces, "<name>_posix.cpp" any POSIX system's,
#     "<name>_win32.cpp" Windows'; only those the target has are compiled;
#   - in a folder that mixes pure logic and Qt (src/response), the Qt
#     classes are the files whose name starts with the GUI class prefix "C"
#     (CResponsePlot.cpp); the same rule splits the tests of such a folder.

function(filtaro_glob_sources out dir)
    file(GLOB _all CONFIGURE_DEPENDS "${dir}/*.cpp")
    set(_keep "")
    foreach(f IN LISTS _all)
        get_filename_component(n "${f}" NAME)
        if(n MATCHES "_linux\\.cpp$" AND NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
            continue()
        endif()
        if(n MATCHES "_posix\\.cpp$" AND NOT UNIX)
            continue()
        endif()
        if(n MATCHES "_win32\\.cpp$" AND NOT WIN32)
            continue()
        endif()
        list(APPEND _keep "${f}")
    endforeach()
    set(${out} "${_keep}" PARENT_SCOPE)
endfunction()

# Splits a file list into the Qt ("C" prefix) and the plain part.
function(filtaro_split_qt plain_out qt_out)
    set(_plain "")
    set(_qt "")
    foreach(f IN LISTS ARGN)
        get_filename_component(n "${f}" NAME)
        if(n MATCHES "^C[A-Z]")
            list(APPEND _qt "${f}")
        else()
            list(APPEND _plain "${f}")
        endif()
    endforeach()
    set(${plain_out} "${_plain}" PARENT_SCOPE)
    set(${qt_out} "${_qt}" PARENT_SCOPE)
endfunction()

# A static library of one layer; an empty layer gets a placeholder so that
# dependants link while the layer is still being written.
function(filtaro_layer_library name)
    set(_sources ${ARGN})
    if(NOT _sources)
        set(_stub "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
        file(WRITE "${_stub}" "// no sources in this layer yet\n")
        set(_sources "${_stub}")
    endif()
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
endfunction()
