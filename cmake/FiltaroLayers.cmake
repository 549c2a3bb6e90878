# Source selection shared by the layer targets.
#
# Each layer folder is globbed so that adding a file needs no CMake edit.
# In src/platform a file says the system it needs: "<name>_linux.cpp" uses
# Linux-only interfaces, "<name>_posix.cpp" any POSIX system's,
# "<name>_win32.cpp" Windows'; only those the target has are compiled.

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
