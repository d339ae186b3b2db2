# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# UNO build support for the office engine and the tools that drive LibreOffice.
#
#   festoria_uno_headers(<target> [EXPORT] TYPES com.sun.star.text.XBookmarksSupplier ...)
#
# generates the C++ headers of the listed UNO types (and every type they depend on) with
# the SDK's cppumaker into <build folder>/uno/<target>, at build time, before <target>
# compiles; adds that folder and the SDK's headers to <target>'s private include path,
# sets the SDK's compile definitions and links the UNO runtime with the office's program
# folder as run path. The generated headers are never part of the source tree.

set(FESTORIA_LO_PROGRAM_DIR "/usr/lib/libreoffice/program" CACHE PATH
    "LibreOffice's program folder (soffice, the UNO libraries, types.rdb)")
set(FESTORIA_LO_SDK_DIR "/usr/lib/libreoffice/sdk" CACHE PATH "The LibreOffice SDK")

find_program(FESTORIA_CPPUMAKER cppumaker
    HINTS ${FESTORIA_LO_SDK_DIR}/bin NO_DEFAULT_PATH)
find_path(FESTORIA_UNO_INCLUDE_DIR cppuhelper/bootstrap.hxx
    HINTS ${FESTORIA_LO_SDK_DIR}/include /usr/include/libreoffice)
# Global, so the function works the same when called from any folder.
set(FESTORIA_UNO_TYPE_LIBRARIES
    ${FESTORIA_LO_PROGRAM_DIR}/types.rdb
    ${FESTORIA_LO_PROGRAM_DIR}/types/offapi.rdb
    CACHE INTERNAL "The UNO type libraries headers are generated from")

if(NOT FESTORIA_CPPUMAKER OR NOT FESTORIA_UNO_INCLUDE_DIR)
    message(FATAL_ERROR "The LibreOffice SDK is missing (cppumaker, UNO headers): "
        "install libreoffice-dev (scripts/install-deps does).")
endif()
foreach(rdb IN LISTS FESTORIA_UNO_TYPE_LIBRARIES)
    if(NOT EXISTS ${rdb})
        message(FATAL_ERROR "UNO type library ${rdb} is missing: install LibreOffice "
            "(scripts/install-deps does).")
    endif()
endforeach()

foreach(lib uno_cppuhelpergcc3 uno_cppu uno_salhelpergcc3 uno_sal)
    find_library(FESTORIA_LIB_${lib} NAMES ${lib}
        HINTS ${FESTORIA_LO_SDK_DIR}/lib ${FESTORIA_LO_PROGRAM_DIR} NO_DEFAULT_PATH)
    if(NOT FESTORIA_LIB_${lib})
        message(FATAL_ERROR "UNO library ${lib} is missing: install libreoffice-dev.")
    endif()
endforeach()

function(festoria_uno_headers target)
    cmake_parse_arguments(U "EXPORT" "" "TYPES" ${ARGN})
    if(NOT U_TYPES)
        message(FATAL_ERROR "festoria_uno_headers(${target}): no TYPES given")
    endif()
    # Service constructors throw DeploymentException; cppumaker does not count it a dependency.
    list(APPEND U_TYPES com.sun.star.uno.DeploymentException)
    list(SORT U_TYPES)
    list(REMOVE_DUPLICATES U_TYPES)
    set(out ${CMAKE_BINARY_DIR}/uno/${target})
    set(stamp ${out}/.generated)
    set(type_args)
    foreach(t IN LISTS U_TYPES)
        list(APPEND type_args -T${t})
    endforeach()
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
        # cppumaker needs an absolute output folder.
        COMMAND ${FESTORIA_CPPUMAKER} -O${out} ${type_args} ${FESTORIA_UNO_TYPE_LIBRARIES}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${FESTORIA_UNO_TYPE_LIBRARIES}
        COMMENT "Generating UNO headers for ${target}"
        VERBATIM)
    add_custom_target(${target}_uno_headers DEPENDS ${stamp})
    add_dependencies(${target} ${target}_uno_headers)

    # The UNO headers, definitions and runtime stay private to the target. A library may
    # pass them on explicitly: festoria_uno_headers(<lib> EXPORT ...) also makes <lib>_uno,
    # an INTERFACE target that tools and tests link to compile against the same headers.
    set(uno_libs ${FESTORIA_LIB_uno_cppuhelpergcc3} ${FESTORIA_LIB_uno_cppu}
        ${FESTORIA_LIB_uno_salhelpergcc3} ${FESTORIA_LIB_uno_sal})
    get_target_property(kind ${target} TYPE)
    set(scopes PRIVATE)
    if(U_EXPORT)
        add_library(${target}_uno INTERFACE)
        add_dependencies(${target}_uno ${target}_uno_headers)
        set(scopes PRIVATE INTERFACE)
    endif()
    foreach(scope IN LISTS scopes)
        if(scope STREQUAL "INTERFACE")
            set(t ${target}_uno)
        else()
            set(t ${target})
        endif()
        target_include_directories(${t} SYSTEM ${scope} ${out} ${FESTORIA_UNO_INCLUDE_DIR})
        target_compile_definitions(${t} ${scope} LINUX UNX GCC CPPU_ENV=gcc3)
        target_link_libraries(${t} ${scope} ${uno_libs})
        # The run path reaches whatever finally links the runtime, also through a static
        # library; it carries no UNO definitions.
        if(scope STREQUAL "PRIVATE" AND NOT kind STREQUAL "EXECUTABLE")
            target_link_options(${t} INTERFACE "LINKER:-rpath,${FESTORIA_LO_PROGRAM_DIR}")
        else()
            target_link_options(${t} ${scope} "LINKER:-rpath,${FESTORIA_LO_PROGRAM_DIR}")
        endif()
    endforeach()
endfunction()
