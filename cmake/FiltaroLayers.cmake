# Source selection shared by the layer targets.
#
# Each layer folder is globbed so that adding a file needs no CMake edit.
# In src/platform, "<name>_posix.cpp" and "<name>_win32.cpp" are the per-OS
# implementations; only the one for the target OS is compiled.

function(filtaro_glob_sources out dir)
    file(GLOB _all CONFIGURE_DEPENDS "${dir}/*.cpp")
    set(_keep "")
    foreach(f IN LISTS _all)
        get_filename_component(n "${f}" NAME)
        if(n MATCHES "_win32\\.cpp$" AND NOT WIN32)
            continue()
        endif()
        if(n MATCHES "_posix\\.cpp$" AND WIN32)
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
