# Compile options for ZkDb's own targets. They are attached per target, never
# globally, so a host that adds this project with add_subdirectory() keeps
# its own flags.

function(zkdb_target_options target)
    set_target_properties(${target} PROPERTIES
        CXX_STANDARD 17
        CXX_STANDARD_REQUIRED ON
        CXX_EXTENSIONS OFF)
    if(CMAKE_CXX_COMPILER_FRONTEND_VARIANT STREQUAL "MSVC")
        # Visual C++ and clang-cl (which reads -Wall as -Weverything).
        # /utf-8: sources and narrow literals are UTF-8 whatever the code
        # page of the machine that compiles them.
        target_compile_options(${target} PRIVATE /W4 /utf-8)
        if(ZKDB_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        if(ZKDB_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
    zkdb_target_sanitizers(${target})
    # The MSVC-ABI cross build links every module with the start-up part in
    # its sysroot (cmake/clang-cl-msvc.cmake): a changed one relinks them.
    if(ZKDB_MSVC_SYSROOT)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${ZKDB_MSVC_SYSROOT}/lib/msvcrt.lib")
    endif()
endfunction()

function(zkdb_target_sanitizers target)
    if(ZKDB_SANITIZE STREQUAL "address")
        set(flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
                  -fno-omit-frame-pointer)
    elseif(ZKDB_SANITIZE STREQUAL "thread")
        set(flags -fsanitize=thread -fno-omit-frame-pointer)
    elseif(ZKDB_SANITIZE STREQUAL "")
        return()
    elseif(CMAKE_CXX_COMPILER_FRONTEND_VARIANT STREQUAL "MSVC")
        message(FATAL_ERROR "ZKDB_SANITIZE is for GCC and Clang's GNU-style drivers")
    else()
        message(FATAL_ERROR "ZKDB_SANITIZE must be '', 'address' or 'thread'")
    endif()
    target_compile_options(${target} PRIVATE ${flags})
    target_link_options(${target} PRIVATE ${flags})
endfunction()

# Limits a shared library's dynamic symbols to those its version script
# names (ELF platforms only; Windows exports only what is marked).
function(zkdb_export_map target map)
    if(NOT WIN32 AND NOT APPLE)
        target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${map}")
    endif()
endfunction()
