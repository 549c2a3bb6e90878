# Folders are layers and each layer is one static library.
#
# A layer's sources are the .cpp files of its folder, so adding a file needs
# no CMake edit. In src/platform a file says the system it needs:
# "<name>_linux.cpp" uses Linux-only interfaces, "<name>_posix.cpp" any POSIX
# system's, "<name>_win32.cpp" Windows'; only those the target has are built.
#
# Every layer has an include root of its own in the build tree that holds its
# folder and nothing else, and publishes only that root. A target therefore
# sees the folders of the layers it links (directly or through them) and no
# others: an #include that runs upward, or sideways to a layer it does not
# link, does not compile.

function(filtaro_glob_sources out dir)
    file(GLOB _all CONFIGURE_DEPENDS "${dir}/*.cpp")
    set(_keep "")
    foreach(f IN LISTS _all)
        get_filename_component(n "${f}" NAME)
        if(n MATCHES "_win32\\.cpp$" AND NOT WIN32)
            continue()
        endif()
        if(n MATCHES "_posix\\.cpp$" AND NOT UNIX)
            continue()
        endif()
        if(n MATCHES "_linux\\.cpp$" AND NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
            continue()
        endif()
        list(APPEND _keep "${f}")
    endforeach()
    set(${out} "${_keep}" PARENT_SCOPE)
endfunction()

# The include root of `folder` (relative to src/): <build>/layers/<target>,
# holding a link named like the folder that points at it.
function(filtaro_include_root target folder out)
    set(_root "${PROJECT_BINARY_DIR}/layers/${target}")
    set(_link "${_root}/${folder}")
    get_filename_component(_parent "${_link}" DIRECTORY)
    file(MAKE_DIRECTORY "${_parent}")
    if(NOT EXISTS "${_link}")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${_link}" SYMBOLIC)
    endif()
    set(${out} "${_root}" PARENT_SCOPE)
endfunction()

# filtaro_layer(<target> <folder> [DEPENDS <libraries>...] [EXCLUDE <file>...])
# The library of src/<folder>. DEPENDS are the layers (and outside libraries)
# whose headers its own headers or sources use; EXCLUDE names files of the
# folder that belong to an executable (its main.cpp).
function(filtaro_layer target folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
    filtaro_glob_sources(_sources "${PROJECT_SOURCE_DIR}/src/${folder}")
    foreach(name IN LISTS ARG_EXCLUDE)
        list(FILTER _sources EXCLUDE REGEX "/${name}$")
    endforeach()
    add_library(${target} STATIC ${_sources})
    filtaro_include_root(${target} ${folder} _root)
    target_include_directories(${target} PUBLIC "${_root}")
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
endfunction()
