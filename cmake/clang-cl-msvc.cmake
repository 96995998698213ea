# Cross build for 64-bit Windows with the MSVC ABI, the one Visual Studio
# hosts link: clang-cl (Debian's clang-14), lld-link and llvm-lib, the
# dynamic runtime (/MD), MSVC's standard library headers from a pinned
# archive, the CRT and Windows headers of Wine (libwine-dev) and the
# project's stand-ins for the Visual C++ runtime (toolchain/msvc/). The
# sysroot (headers unpacked, import libraries, start-up part) is assembled in
# the build tree by cmake/msvc-sysroot.sh when first configured. Test
# executables run through Wine (wine64), in ZKDB_WINEPREFIX.
#
#   ZKDB_MSVC_STL_ARCHIVE  the archive (default ../shared/msvc-stl/... beside
#                          the project), checked against ZKDB_MSVC_STL_SHA256

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(CMAKE_C_COMPILER clang-cl-14)
set(CMAKE_CXX_COMPILER clang-cl-14)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_MT "")
set(CMAKE_RC_COMPILER llvm-rc-14)

# Try-compiles get the same sysroot and archive.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES
    ZKDB_MSVC_STL_ARCHIVE ZKDB_MSVC_STL_SHA256 ZKDB_MSVC_SYSROOT)

get_filename_component(_zkdb_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT ZKDB_MSVC_STL_ARCHIVE)
    set(ZKDB_MSVC_STL_ARCHIVE "${_zkdb_root}/../shared/msvc-stl/msvc-stl-b29a16b.tar.xz" CACHE FILEPATH
        "Archive of MSVC's standard library (commit b29a16b) the MSVC-ABI build compiles against")
endif()
if(NOT ZKDB_MSVC_STL_SHA256)
    set(ZKDB_MSVC_STL_SHA256 "f4d23e38973e7ed3af96e7c477eeee50001e25b4097f2aeef45442cfd1683bfe" CACHE STRING
        "sha256 the archive of MSVC's standard library must have")
endif()
if(NOT ZKDB_MSVC_SYSROOT)
    set(ZKDB_MSVC_SYSROOT "${CMAKE_BINARY_DIR}/msvc-sysroot" CACHE PATH
        "Where the MSVC-ABI sysroot is assembled (in the build tree)")
endif()

# /X: no INCLUDE from the environment. The standard library snapshot needs
# the compiler to present itself as Visual C++ 19.34 (Visual Studio 2022
# 17.4). WINE_UNICODE_NATIVE: WCHAR is wchar_t, as in the Windows SDK.
# _USE_STD_VECTOR_ALGORITHMS=0: clang compiles the standard library's AVX2
# routines only for an AVX2 target; this build is for baseline x86-64.
set(_zkdb_msvc_flags
    --target=x86_64-pc-windows-msvc -fms-compatibility-version=19.34 /X
    /DWINE_UNICODE_NATIVE /D_USE_STD_VECTOR_ALGORITHMS=0
    -imsvc "${_zkdb_root}/toolchain/msvc/include"
    -imsvc "${ZKDB_MSVC_SYSROOT}/stl/inc"
    -imsvc /usr/include/wine/wine/msvcrt
    -imsvc /usr/include/wine/wine/windows)

execute_process(
    COMMAND bash "${_zkdb_root}/cmake/msvc-sysroot.sh" "${ZKDB_MSVC_STL_ARCHIVE}"
            "${ZKDB_MSVC_STL_SHA256}" "${ZKDB_MSVC_SYSROOT}" -- ${_zkdb_msvc_flags} /std:c++17 /EHsc /MD
    RESULT_VARIABLE _zkdb_sysroot_result)
if(NOT _zkdb_sysroot_result EQUAL 0)
    message(FATAL_ERROR "Assembling the MSVC-ABI sysroot in ${ZKDB_MSVC_SYSROOT} failed")
endif()

# The flags go into command lines as one string: each is quoted, so that a
# sysroot or checkout path with spaces stays one argument.
set(_zkdb_msvc_flag_string "")
foreach(_flag IN LISTS _zkdb_msvc_flags)
    string(APPEND _zkdb_msvc_flag_string " \"${_flag}\"")
endforeach()
string(STRIP "${_zkdb_msvc_flag_string}" _zkdb_msvc_flags)
unset(_flag)
unset(_zkdb_msvc_flag_string)
set(CMAKE_C_FLAGS_INIT "${_zkdb_msvc_flags}")
set(CMAKE_CXX_FLAGS_INIT "${_zkdb_msvc_flags}")  # CMake adds /EHsc
# Only the libraries the sysroot has; what a module does not use drops out.
set(CMAKE_C_STANDARD_LIBRARIES "kernel32.lib advapi32.lib" CACHE STRING "Libraries every C module links")
set(CMAKE_CXX_STANDARD_LIBRARIES "kernel32.lib advapi32.lib" CACHE STRING "Libraries every C++ module links")
foreach(_kind EXE SHARED MODULE)
    # No manifest: there is no mt.exe here, and the modules need none.
    set(CMAKE_${_kind}_LINKER_FLAGS_INIT "\"/libpath:${ZKDB_MSVC_SYSROOT}/lib\" /MANIFEST:NO")
endforeach()
unset(_kind)

# The dynamic release runtime in every configuration: Wine has no debug
# runtime (msvcrtd.lib, ucrtbased.dll), and try-compiles are built as
# Release so none asks for it.
set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
set(CMAKE_POLICY_DEFAULT_CMP0091 NEW)
set(CMAKE_TRY_COMPILE_CONFIGURATION Release)

set(CMAKE_FIND_ROOT_PATH "${ZKDB_MSVC_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A host finds packages (an unpacked ZkDb zip) wherever it points
# CMAKE_PREFIX_PATH or <Package>_DIR.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

include("${CMAKE_CURRENT_LIST_DIR}/wine-emulator.cmake")
unset(_zkdb_msvc_flags)
unset(_zkdb_sysroot_result)
