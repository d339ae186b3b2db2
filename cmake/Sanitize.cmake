# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds with the compiler's run-time checks (scripts/test --sanitize sets it):
#   -DFESTORIA_SANITIZE=address  AddressSanitizer with UndefinedBehaviorSanitizer, both fatal
#   -DFESTORIA_SANITIZE=thread   ThreadSanitizer
# Every target made after the include carries them; festoria_unsanitized() takes them off one.
set(FESTORIA_SANITIZE "" CACHE STRING "Run-time checks to build with: address, thread or empty")
set_property(CACHE FESTORIA_SANITIZE PROPERTY STRINGS "" address thread)

if(FESTORIA_SANITIZE STREQUAL "address")
    # Not the vptr check: the objects of the office's UNO bridge have vtables the bridge makes
    # at run time, without the type information the check reads, so every call through a UNO
    # reference would fail it.
    set(FESTORIA_SANITIZER_FLAGS
        -fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=all)
elseif(FESTORIA_SANITIZE STREQUAL "thread")
    set(FESTORIA_SANITIZER_FLAGS -fsanitize=thread)
elseif(FESTORIA_SANITIZE)
    message(FATAL_ERROR "FESTORIA_SANITIZE must be address, thread or empty, not ${FESTORIA_SANITIZE}")
endif()

if(FESTORIA_SANITIZER_FLAGS)
    list(APPEND FESTORIA_SANITIZER_FLAGS -fno-omit-frame-pointer)
    add_compile_options(${FESTORIA_SANITIZER_FLAGS})
    add_link_options(${FESTORIA_SANITIZER_FLAGS})
endif()

# Builds <target> without the run-time checks.
function(festoria_unsanitized target)
    foreach(property COMPILE_OPTIONS LINK_OPTIONS)
        get_target_property(options ${target} ${property})
        if(options)
            list(REMOVE_ITEM options ${FESTORIA_SANITIZER_FLAGS})
            set_target_properties(${target} PROPERTIES ${property} "${options}")
        endif()
    endforeach()
endfunction()
